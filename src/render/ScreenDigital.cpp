// SPDX-License-Identifier: GPL-3.0-or-later
// The digital screens: one value (x1), four (x4), nine (x9), seven lines (x7) and six (x6).

#include "base/Text.h"
#include "render/ScreenDrawing.h"
#include "render/ScreenPreviews.h"

#include <cmath>

namespace mk {

using namespace screen;

namespace {

constexpr int W = ScreenRenderer::kWidth;
constexpr int H = ScreenRenderer::kHeight;

// A small place of the x9 and x6 screens: a caption band over the value. The unit, when there is
// one, goes under the value.
void drawSmallPlace(ScreenRenderer &s, int x, int y, int w, int h, const PlaceColours &c, const QString &label,
                    const QString &value, const QString &unit)
{
    constexpr int band = 20;
    fill(s, x, y, w, band, c.caption.back);
    fill(s, x, y + band, w, h - band, c.value.back);
    s.selectFont(1);
    s.setColours(c.caption.fore, c.caption.back);
    textCentred(s, x, y + 2, w, label);
    s.selectFont(2);
    s.setColours(c.value.fore, c.value.back);
    const int valueTop = unit.isEmpty() ? y + band + (h - band - 32) / 2 : y + band + 2;
    textCentred(s, x, valueTop, w, value);
    if (!unit.isEmpty()) {
        s.selectFont(1);
        textCentred(s, x, valueTop + 36, w, unit);
    }
}

} // namespace

void ScreenPreviews::drawX1(ScreenRenderer &s, quint8 code) const
{
    s.setOrigin(0, 0);
    s.clear(0);
    const std::optional<TMeasParBase> par = preparedEntry(m_catalog, code);
    if (!par)
        return;
    const Palette palette(m_section9, m_set);

    s.setColours(palette.role(RoleDigitColour1), palette.role(RoleDigitBack1));
    s.setOrigin(0, 0);
    s.fillRect(320, 120);

    s.selectFont(4);
    const QByteArray sample = toWin1251(par->SampleText);
    s.setOrigin((320 - int(sample.size()) * 40) / 2, (120 - 80) / 2);
    s.drawText(0, 0, sample);

    s.setColours(palette.role(RoleDigitColour2), palette.role(RoleDigitBack2));
    s.setOrigin(0, 120);
    s.fillRect(320, 120);

    s.selectFont(2);
    s.setOrigin(16 / 2, 120 + 32 / 4);
    s.drawText(0, 0, par->LongCaption);
    if (par->RangeFlag != 0) {
        s.drawText(0, 1, par->MinText);
        const QByteArray maxText = toWin1251(par->MaxText);
        s.setOrigin(320 - 16 / 2 - int(maxText.size()) * 16, s.originY());
        s.drawText(0, 1, maxText);

        s.setOrigin(16 / 2, 120 + (32 * 9) / 4);
        s.setThickness(1);
        s.hLine(0, 304, 0);
        s.hLine(0, 304, 31);
        s.vLine(304, 0, 31);
        // A sample outside its range (or an empty range) must not draw past the bar.
        const int range = par->MaxValue - par->MinValue;
        const double exact = range != 0 ? double(par->SampleValue - par->MinValue) * 304.0 / range : 0.0;
        const int v = qBound(0, int(std::nearbyint(exact)), 304);
        for (int row = 1; row <= 30; ++row)
            s.hLine(0, v, row);
    }
    s.setOrigin(0, 0);
}

void ScreenPreviews::drawX4(ScreenRenderer &s, int number) const
{
    s.setOrigin(0, 0);
    s.clear(0);
    const Palette palette(m_section9, m_set);
    const bool chequered = m_section9.u8(kDispVar4Offset) == 1;
    for (int p = 0; p < 4; ++p) {
        const int x = (p & 1) * 160, y = (p / 2) * 120;
        const PlaceColours c = placeColours(palette, chequered && (p == 1 || p == 2));
        fill(s, x, y, 161, 64, c.value.back);
        fill(s, x, y + 64, 161, 120 - 64, c.caption.back);
        const std::optional<TMeasParBase> par = placeEntry(m_section9, m_catalog, ScreenKind::X4, number, p);
        if (!par)
            continue;
        s.selectFont(3);
        s.setColours(c.value.fore, c.value.back);
        const QByteArray sample = toWin1251(par->SampleText);
        textAt(s, x + (160 - int(sample.size()) * 32) / 2, y, sample);
        s.selectFont(2);
        s.setColours(c.caption.fore, c.caption.back);
        textAt(s, x + 8, y + 64, toWin1251(par->CellName));
        textAt(s, x + 8, y + 120 - 32, toWin1251(par->CellUnit));
    }
    s.setOrigin(0, 0);
}

void ScreenPreviews::drawX9(ScreenRenderer &s, int number) const
{
    s.setOrigin(0, 0);
    const Palette palette(m_section9, m_set);
    s.clear(palette.role(RoleDigitFrame));
    const bool chequered = m_section9.u8(kDispVar9Offset) == 1;
    // Columns split as the clicks do: 106 pixels, the last column takes the rest.
    const int cellW = W / 3, cellH = H / 3;
    for (int p = 0; p < 9; ++p) {
        const int col = p % 3, row = p / 3;
        const int x = col * cellW + (col > 0), y = row * cellH + (row > 0);
        const int w = (col == 2 ? W : (col + 1) * cellW) - x, h = (row + 1) * cellH - y;
        const PlaceColours c = placeColours(palette, chequered && p % 2 == 1);
        const std::optional<TMeasParBase> par = placeEntry(m_section9, m_catalog, ScreenKind::X9, number, p);
        drawSmallPlace(s, x, y, w, h, c, par ? par->GridLabel : QString(), par ? par->SampleText : QString(), {});
    }
    s.setOrigin(0, 0);
}

void ScreenPreviews::drawX7(ScreenRenderer &s, int number) const
{
    s.setOrigin(0, 0);
    const Palette palette(m_section9, m_set);
    const PlaceColours c = placeColours(palette, false);
    s.clear(palette.role(RoleDigitFrame));
    constexpr int rowH = H / 7, nameW = 152, unitX = 252;
    for (int p = 0; p < 7; ++p) {
        const int y = p * rowH + (p > 0), h = (p + 1) * rowH - y;
        fill(s, 0, y, nameW, h, c.caption.back);
        fill(s, nameW + 1, y, W - nameW - 1, h, c.value.back);
        const std::optional<TMeasParBase> par = placeEntry(m_section9, m_catalog, ScreenKind::X7, number, p);
        if (!par)
            continue;
        s.selectFont(1);
        s.setColours(c.caption.fore, c.caption.back);
        textAt(s, 4, y + (h - 16) / 2, fitted(par->LineName, (nameW - 6) / 8));
        s.selectFont(2);
        s.setColours(c.value.fore, c.value.back);
        const QByteArray value = fitted(par->SampleText, 6);
        textAt(s, unitX - 4 - int(value.size()) * 16, y + (h - 32) / 2, value);
        s.selectFont(1);
        textAt(s, unitX, y + (h - 16) / 2, fitted(par->LineUnit, (W - unitX - 2) / 8));
    }
    s.setOrigin(0, 0);
}

void ScreenPreviews::drawX6(ScreenRenderer &s) const
{
    s.setOrigin(0, 0);
    const Palette palette(m_section9, m_set);
    const PlaceColours c = placeColours(palette, false);
    s.clear(palette.role(RoleDigitFrame));
    const auto entry = [&](int place) { return placeEntry(m_section9, m_catalog, ScreenKind::X6, 0, place); };
    const int cellW = W / 3, cellH = H / 3;

    // Place 0: the big value over the upper-left four cells.
    {
        const int w = 2 * cellW, h = 2 * cellH;
        constexpr int band = 36;
        fill(s, 0, 0, w, band, c.caption.back);
        fill(s, 0, band, w, h - 2 * band, c.value.back);
        fill(s, 0, h - band, w, band, c.caption.back);
        if (const std::optional<TMeasParBase> par = entry(0)) {
            s.selectFont(2);
            s.setColours(c.caption.fore, c.caption.back);
            textCentred(s, 0, 2, w, par->CellName);
            textCentred(s, 0, h - band + 2, w, par->CellUnit);
            s.selectFont(4);
            s.setColours(c.value.fore, c.value.back);
            textCentred(s, 0, band + (h - 2 * band - 80) / 2, w, par->SampleText);
        }
    }
    // Places 1..5: the right column's upper two cells, then the bottom row.
    const int cells[6] = {-1, 2, 5, 6, 7, 8};
    for (int place = 1; place < 6; ++place) {
        const int col = cells[place] % 3, row = cells[place] / 3;
        const int x = col * cellW + (col > 0), y = row * cellH + (row > 0);
        const int w = (col == 2 ? W : (col + 1) * cellW) - x, h = (row + 1) * cellH - y;
        const std::optional<TMeasParBase> par = entry(place);
        drawSmallPlace(s, x, y, w, h, c, par ? par->CellName : QString(), par ? par->SampleText : QString(),
                       par ? par->CellUnit : QString());
    }
    s.setOrigin(0, 0);
}

} // namespace mk
