// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer screen: a smaller gauge on the left, a larger one on the right, names below.

#include "render/ScreenDrawing.h"
#include "render/ScreenPictures.h"
#include "render/ScreenPreviews.h"

#include <cmath>

namespace mk {

using namespace screen;

namespace {

constexpr int W = ScreenRenderer::kWidth;
constexpr int kCaptionTop = 200;

struct Gauge
{
    int centreX;
    int centreY;
    int radius;
    int left; // the screen columns the gauge owns
    int width;
    int dialRole;
    int scaleRole;
    int arrowRole;
};

const Gauge kGauges[2] = {
    {60, 100, 52, 0, W - kRightGaugeWidth, RoleLeftDial, RoleLeftScale, RoleLeftArrow},
    {220, 100, 92, W - kRightGaugeWidth, kRightGaugeWidth, RoleRightDial, RoleRightScale, RoleRightArrow},
};

// The unchanging pictures are made once.
struct GaugePictures
{
    explicit GaugePictures(int radius)
        : dial(dialPicture(radius)), scale(scalePicture(radius - 4)), marker(ringPicture(radius / 4, 2))
    {}
    ScreenPicture dial;
    ScreenPicture scale;
    ScreenPicture marker;
};

const GaugePictures &picturesOf(int side)
{
    static const GaugePictures left(kGauges[0].radius), right(kGauges[1].radius);
    return side == 0 ? left : right;
}

void drawCentred(ScreenRenderer &s, const ScreenPicture &p, int cx, int cy)
{
    s.setOrigin(0, 0);
    s.drawPicture(cx - p.width / 2, cy - p.height / 2, p);
}

void drawGauge(ScreenRenderer &s, const Palette &palette, const Gauge &g, const GaugePictures &pictures,
               const TMeasParBase &par)
{
    const quint16 dial = palette.role(g.dialRole);
    // The consumption gauge on its wide range draws its scale and marker in their own colour.
    const quint16 scale = par.WideScale ? palette.role(RoleWideScale) : palette.role(g.scaleRole);
    s.setForeground(dial);
    drawCentred(s, pictures.dial, g.centreX, g.centreY);
    s.setForeground(scale);
    drawCentred(s, pictures.scale, g.centreX, g.centreY);

    // Scale numbers inside the arc: every quarter on the large gauge, ends and middle on the small one.
    s.selectFont(1);
    s.setColours(scale, dial);
    const int steps = g.radius >= 60 ? 4 : 2;
    const double labelRadius = g.radius - (g.radius >= 60 ? 30 : 22);
    for (int k = 0; k <= steps; ++k) {
        const double t = double(k) / steps;
        const int value = int(std::lround(par.AxisMin + t * (par.AxisMax - par.AxisMin)));
        const QByteArray text = fitted(QString::number(value), 5);
        const PointF at = scalePoint(t, labelRadius);
        textAt(s, g.centreX + int(std::lround(at.x)) - int(text.size()) * 4, g.centreY + int(std::lround(at.y)) - 8,
               text);
    }

    // The sample value in figures, in the gap between the ends of the scale.
    s.selectFont(g.radius >= 60 ? 2 : 1);
    s.setColours(palette.role(g.arrowRole), dial);
    const int valueTop = g.centreY + g.radius * 62 / 100;
    textCentred(s, g.centreX - g.radius * 7 / 10, valueTop, g.radius * 14 / 10, par.SampleText.trimmed());

    if (par.GaugeMark) {
        s.setForeground(scale);
        drawCentred(s, pictures.marker, g.centreX, g.centreY);
    }
    s.setForeground(palette.role(g.arrowRole));
    drawCentred(s, arrowPicture(g.radius - 10, sampleFraction(par)), g.centreX, g.centreY);

    s.selectFont(1);
    s.setColours(palette.role(RoleArrowCaption), palette.role(RoleArrowCaptionBack));
    textCentred(s, g.left, kCaptionTop + 3, g.width, par.GaugeName);
    textCentred(s, g.left, kCaptionTop + 21, g.width, par.GaugeUnit);
}

} // namespace

void ScreenPreviews::drawArrow(ScreenRenderer &s, int number) const
{
    const int left = placeOffset(ScreenKind::Arrow, number, kLeftGauge);
    const int right = placeOffset(ScreenKind::Arrow, number, kRightGauge);
    // A screen the layout does not have is drawn empty (code 0 names no parameter).
    drawArrowCodes(s, left >= 0 ? m_section9.u8(left) : 0, right >= 0 ? m_section9.u8(right) : 0);
}

void ScreenPreviews::drawArrowCodes(ScreenRenderer &s, quint8 left, quint8 right) const
{
    const Palette palette(m_section9, m_set);
    s.setOrigin(0, 0);
    s.clear(palette.role(RoleArrowBack));
    fill(s, 0, kCaptionTop, W, ScreenRenderer::kHeight - kCaptionTop, palette.role(RoleArrowCaptionBack));
    const quint8 codes[2] = {left, right};
    for (int side = 0; side < 2; ++side)
        if (const std::optional<TMeasParBase> par = preparedEntry(m_catalog, codes[side]))
            drawGauge(s, palette, kGauges[side], picturesOf(side), *par);
    s.setOrigin(0, 0);
}

} // namespace mk
