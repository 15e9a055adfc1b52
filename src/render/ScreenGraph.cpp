// SPDX-License-Identifier: GPL-3.0-or-later
// The graph screen: one or two recorded traces over time, their captions below.

#include "render/ScreenDrawing.h"
#include "render/ScreenPreviews.h"

#include <cmath>

namespace mk {

using namespace screen;

namespace {

constexpr int W = ScreenRenderer::kWidth;
constexpr int kPlotLeft = 42; // room for the axis numbers
constexpr int kTimeMarkStep = 46;
constexpr double kPi = 3.14159265358979323846;

QString axisText(int value) { return QString::number(value); }

// A made-up but plausible recording: the sample value with some slow and some quick movement.
double traceAt(double centre, int x, double phase)
{
    const double wave = 0.65 * std::sin(2 * kPi * x / 140.0 + phase) + 0.35 * std::sin(2 * kPi * x / 47.0 + 2 * phase);
    return std::clamp(centre + 0.2 * wave, 0.03, 0.97);
}

void drawPanel(ScreenRenderer &s, const Palette &palette, const TMeasParBase &par, int top, int height, int traceRole,
               double phase)
{
    const int bottom = top + height - 1;
    const int plotTop = top + 4, plotBottom = bottom - 4;
    // Axes and time marks.
    s.setOrigin(0, 0);
    s.setForeground(palette.role(RoleGraphAxes));
    s.vLine(kPlotLeft - 1, plotTop, plotBottom);
    s.hLine(kPlotLeft - 1, W - 2, plotBottom);
    for (int x = kPlotLeft - 1 + kTimeMarkStep; x < W - 2; x += kTimeMarkStep) {
        for (int y = plotTop; y < plotBottom; y += 4)
            s.plot(x, y);
        s.vLine(x, plotBottom - 3, plotBottom);
    }
    s.selectFont(1);
    s.setColours(palette.role(RoleGraphAxes), palette.role(RoleGraphBack));
    textAt(s, 2, plotTop, fitted(axisText(par.AxisMax), 5));
    textAt(s, 2, plotBottom - 15, fitted(axisText(par.AxisMin), 5));

    // The trace, two pixels thick, joined column to column.
    s.setOrigin(0, 0);
    s.setForeground(palette.role(traceRole));
    s.setThickness(2);
    const double centre = sampleFraction(par);
    const int span = plotBottom - plotTop - 2;
    int previous = -1;
    for (int x = kPlotLeft; x < W - 2; ++x) {
        const int y = plotBottom - 1 - int(std::lround(traceAt(centre, x, phase) * span));
        s.thickVLine(x, previous < 0 ? y : previous, y);
        previous = y;
    }
}

void drawCaption(ScreenRenderer &s, const Palette &palette, const TMeasParBase &par, int y, int traceRole)
{
    s.setOrigin(0, 0);
    s.setForeground(palette.role(traceRole));
    s.setThickness(4);
    s.thickHLine(8, 28, y + 8);
    s.selectFont(1);
    s.setColours(palette.role(traceRole), palette.role(RoleGraphCaptionBack));
    textAt(s, 36, y, fitted(par.GraphCaption, 27));
    const QByteArray value = fitted(par.SampleText, 6);
    textAt(s, W - 8 - int(value.size()) * 8, y, value);
}

} // namespace

void ScreenPreviews::drawGraph(ScreenRenderer &s, int number) const
{
    const Palette palette(m_section9, m_set);
    const std::optional<TMeasParBase> upper = placeEntry(m_section9, m_catalog, ScreenKind::Graph, number, kUpperGraph);
    // Code 0 in the lower place means a single graph (no catalog entry has code 0).
    const std::optional<TMeasParBase> lower = placeEntry(m_section9, m_catalog, ScreenKind::Graph, number, kLowerGraph);

    s.setOrigin(0, 0);
    s.clear(palette.role(RoleGraphBack));
    fill(s, 0, kGraphClickLimit, W, ScreenRenderer::kHeight - kGraphClickLimit, palette.role(RoleGraphCaptionBack));

    const int half = kGraphClickLimit / 2;
    if (upper)
        drawPanel(s, palette, *upper, 0, lower ? half : kGraphClickLimit, RoleGraph1, 0.0);
    if (lower)
        drawPanel(s, palette, *lower, half, half, RoleGraph2, 1.7);
    if (upper)
        drawCaption(s, palette, *upper, kGraphClickLimit + 8, RoleGraph1);
    if (lower)
        drawCaption(s, palette, *lower, kGraphClickLimit + 34, RoleGraph2);
    s.setOrigin(0, 0);
}

} // namespace mk
