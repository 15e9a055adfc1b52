// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenDrawing.h"

#include "base/Text.h"

#include <algorithm>
#include <cmath>

namespace mk::screen {

std::optional<TMeasParBase> preparedEntry(const MeasParCatalog &catalog, quint8 code)
{
    const TMeasParBase *found = catalog.FindMeasPar(code);
    if (!found)
        return std::nullopt;
    TMeasParBase entry = *found;
    entry.PrepareData();
    return entry;
}

std::optional<TMeasParBase> placeEntry(const Record &section9, const MeasParCatalog &catalog, ScreenKind kind,
                                       int screen, int place)
{
    const int offset = placeOffset(kind, screen, place);
    if (offset < 0 || offset >= section9.size())
        return std::nullopt;
    return preparedEntry(catalog, section9.u8(offset));
}

PlaceColours placeColours(const Palette &palette, bool swapped)
{
    return swapped ? PlaceColours{palette.caption(), palette.value()}
                   : PlaceColours{palette.value(), palette.caption()};
}

QByteArray fitted(const QString &text, int maxChars) { return toWin1251(text).left(std::max(0, maxChars)); }

void fill(ScreenRenderer &s, int x, int y, int w, int h, quint16 colour)
{
    s.setBackground(colour);
    s.setOrigin(x, y);
    s.fillRect(w, h);
}

void textAt(ScreenRenderer &s, int x, int y, const QByteArray &text)
{
    s.setOrigin(x, y);
    s.drawText(0, 0, text);
}

void textCentred(ScreenRenderer &s, int x, int y, int w, const QString &text)
{
    const int cw = s.font().width;
    const QByteArray bytes = fitted(text, w / cw);
    textAt(s, x + (w - int(bytes.size()) * cw) / 2, y, bytes);
}

double sampleFraction(const TMeasParBase &par)
{
    double scale = 1.0;
    for (int i = 0; i < par.Decimals; ++i)
        scale *= 10.0;
    const double shown = par.SampleValue / scale;
    if (par.AxisMax != par.AxisMin) {
        const double f = (shown - par.AxisMin) / double(par.AxisMax - par.AxisMin);
        if (f >= 0.0 && f <= 1.0)
            return f;
    }
    if (par.MaxValue != par.MinValue)
        return std::clamp((par.SampleValue - par.MinValue) / double(par.MaxValue - par.MinValue), 0.0, 1.0);
    return 0.0;
}

} // namespace mk::screen
