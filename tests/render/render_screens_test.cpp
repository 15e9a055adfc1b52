// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Colour.h"
#include "catalogs/MeasPars.h"
#include "image/ColourSchemes.h"
#include "image/TMK.h"
#include "render/ScreenLayouts.h"
#include "render/ScreenPreviews.h"
#include "render/ScreenRenderer.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace mk;

namespace {

// A scheme whose 16 palette colours all differ, with every role on its own index where the
// palette allows it.
Record distinctSection9()
{
    Record s9 = TMK::defaultRecords()[9];
    for (int set = 0; set < 2; ++set) {
        for (int i = 0; i < 16; ++i)
            setPaletteColour(s9, set, i, packColour(2 * i, 31 - 2 * i, (7 * i) % 32));
        for (int r = 0; r < kRoleCount; ++r)
            setRoleIndex(s9, set, r, r % 16);
    }
    return s9;
}

quint32 roleArgb(const Record &s9, int role, int set = 0) { return colourToArgb(roleColour(s9, set, role)); }

int count(const ScreenRenderer &s, quint32 argb, int x0 = 0, int y0 = 0, int x1 = 320, int y1 = 240)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += s.pixel(x, y) == argb;
    return n;
}

QSet<quint32> coloursIn(const ScreenRenderer &s)
{
    QSet<quint32> set;
    for (int i = 0; i < 320 * 240; ++i)
        set.insert(s.pixels()[i]);
    return set;
}

struct ScreensTest : ::testing::Test
{
    Record s9 = distinctSection9();
    MeasParCatalog catalog;
    ScreenRenderer screen;
    ScreenPreviews previews{s9, catalog, 0};
};

} // namespace

TEST(ScreenLayouts, PlaceOffsetsOfEveryKind)
{
    EXPECT_EQ(placeOffset(ScreenKind::X4, 0, 0), 12);
    EXPECT_EQ(placeOffset(ScreenKind::X4, 5, 3), 35);
    EXPECT_EQ(placeOffset(ScreenKind::X7, 3, 6), 63);
    EXPECT_EQ(placeOffset(ScreenKind::Graph, 7, 1), 79);
    EXPECT_EQ(placeOffset(ScreenKind::Arrow, 0, 0), 80);
    EXPECT_EQ(placeOffset(ScreenKind::Arrow, 7, 1), 95);
    EXPECT_EQ(placeOffset(ScreenKind::X9, 2, 8), 122);
    EXPECT_EQ(placeOffset(ScreenKind::X6, 0, 5), 405);
    EXPECT_EQ(placeOffset(ScreenKind::X4, 6, 0), -1);
    EXPECT_EQ(placeOffset(ScreenKind::X4, 0, 4), -1);
    EXPECT_EQ(placeOffset(ScreenKind::X1, 0, 0), -1);
    EXPECT_EQ(placeOffset(ScreenKind::X6, 1, 0), -1);
}

TEST(ScreenLayouts, ClickFindsItsPlace)
{
    EXPECT_EQ(placeAt(ScreenKind::X4, 319, 239, 320, 240), 3);
    EXPECT_EQ(placeAt(ScreenKind::X4, 0, 0, 320, 240), 0);
    EXPECT_EQ(placeAt(ScreenKind::X4, 160, 119, 320, 240), 1);
    EXPECT_EQ(placeAt(ScreenKind::X4, 159, 120, 320, 240), 2);
    EXPECT_EQ(placeAt(ScreenKind::X9, 106, 80, 320, 240), 4);
    EXPECT_EQ(placeAt(ScreenKind::X7, 0, 34, 320, 240), 1);
    // 160, 120: the middle cell of the x6 grid belongs to the big value.
    EXPECT_EQ(placeAt(ScreenKind::X6, 160, 120, 320, 240), 0);
    const int x6Cells[9][2] = {{0, 0},     {150, 10}, {250, 10},  {10, 100}, {150, 100},
                               {250, 100}, {10, 200}, {150, 200}, {250, 200}};
    const int x6Places[9] = {0, 0, 1, 0, 0, 2, 3, 4, 5};
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(placeAt(ScreenKind::X6, x6Cells[k][0], x6Cells[k][1], 320, 240), x6Places[k]) << k;
    EXPECT_EQ(placeAt(ScreenKind::Graph, 10, 200, 320, 240), -1);
    EXPECT_EQ(placeAt(ScreenKind::Graph, 10, 180, 320, 240), kLowerGraph);
    EXPECT_EQ(placeAt(ScreenKind::Graph, 10, 90, 320, 240), kLowerGraph);
    EXPECT_EQ(placeAt(ScreenKind::Graph, 10, 89, 320, 240), kUpperGraph);
    EXPECT_EQ(placeAt(ScreenKind::Arrow, 119, 5, 320, 240), kLeftGauge);
    EXPECT_EQ(placeAt(ScreenKind::Arrow, 120, 5, 320, 240), kRightGauge);
    EXPECT_EQ(placeAt(ScreenKind::X1, 5, 5, 320, 240), -1);
    EXPECT_EQ(placeAt(ScreenKind::X4, -1, 5, 320, 240), -1);
}

// 320 and 240 do not divide by 3 and 7 evenly: the rightmost and lowest pixels must still fall
// on the last place, never on a place the screen does not have (which would overwrite the
// next screen's or an unrelated setting).
TEST(ScreenLayouts, EdgePixelsStayOnTheScreensLastPlace)
{
    EXPECT_EQ(placeAt(ScreenKind::X9, 319, 239, 320, 240), 8);
    EXPECT_EQ(placeAt(ScreenKind::X9, 318, 0, 320, 240), 2);
    EXPECT_EQ(placeAt(ScreenKind::X7, 0, 239, 320, 240), 6);
    EXPECT_EQ(placeAt(ScreenKind::X7, 0, 238, 320, 240), 6);
    EXPECT_EQ(placeAt(ScreenKind::X6, 319, 0, 320, 240), 1);
    EXPECT_EQ(placeAt(ScreenKind::X6, 319, 239, 320, 240), 5);
    for (ScreenKind kind : {ScreenKind::X4, ScreenKind::X9, ScreenKind::X7, ScreenKind::X6})
        for (int y = 0; y < 240; y += 7)
            for (int x = 0; x < 320; x += 3)
                ASSERT_LT(placeAt(kind, x, y, 320, 240), placeCount(kind));
}

TEST_F(ScreensTest, SingleValueScreenAsTheDeviceDrawsIt)
{
    previews.drawX1(screen, 12); // speed: "60", 0..240, with a range bar
    const quint32 back1 = roleArgb(s9, RoleDigitBack1), back2 = roleArgb(s9, RoleDigitBack2);
    const quint32 fore1 = roleArgb(s9, RoleDigitColour1), fore2 = roleArgb(s9, RoleDigitColour2);
    EXPECT_EQ(screen.pixel(0, 0), back1);
    EXPECT_EQ(screen.pixel(319, 119), back1);
    EXPECT_EQ(screen.pixel(0, 120), back2);
    // " 60" (width 3) in font 4 starts at (320 - 3*40)/2 = 100, rows 20..99: a blank, "6", "0".
    EXPECT_EQ(count(screen, fore1, 0, 0, 140, 120), 0);
    EXPECT_EQ(count(screen, fore1, 220, 0, 320, 120), 0);
    EXPECT_GT(count(screen, fore1, 140, 20, 180, 100), 200);
    EXPECT_GT(count(screen, fore1, 180, 20, 220, 100), 200);
    // The bar: frame at rows 192 and 223 from x 8 to 312, filled to v = 60*304/240 = 76.
    EXPECT_EQ(screen.pixel(8, 192), fore2);
    EXPECT_EQ(screen.pixel(312, 192), fore2);
    EXPECT_EQ(screen.pixel(313, 192), back2);
    EXPECT_EQ(screen.pixel(312, 207), fore2);
    EXPECT_EQ(screen.pixel(8 + 76, 207), fore2);
    EXPECT_EQ(screen.pixel(8 + 77, 207), back2);
    EXPECT_EQ(screen.pixel(8, 223), fore2);
    EXPECT_EQ(screen.pixel(8, 224), back2);
    // The caption row and the limits "0" ... "240" above the bar.
    EXPECT_GT(count(screen, fore2, 8, 128, 136, 160), 100);  // "Скорость"
    EXPECT_GT(count(screen, fore2, 8, 160, 24, 192), 20);    // "0"
    EXPECT_GT(count(screen, fore2, 264, 160, 312, 192), 60); // "240" ends 8 pixels from the edge
    EXPECT_EQ(count(screen, fore2, 24, 160, 264, 192), 0);
}

TEST_F(ScreensTest, SingleValueScreenWithoutRangeOrEntry)
{
    previews.drawX1(screen, 9); // the range prognosis has no range bar
    EXPECT_EQ(count(screen, roleArgb(s9, RoleDigitColour2), 0, 192, 320, 240), 0);
    previews.drawX1(screen, 40); // no entry has code 40: nothing but black
    EXPECT_EQ(count(screen, colourToArgb(0)), 320 * 240);
}

TEST_F(ScreensTest, FourValueScreenPlacesAndVariants)
{
    for (int p = 0; p < 4; ++p)
        s9.setU8(placeOffset(ScreenKind::X4, 2, p), 12);
    s9.setU8(kDispVar4Offset, 0);
    previews.drawX4(screen, 2);
    const quint32 back1 = roleArgb(s9, RoleDigitBack1), back2 = roleArgb(s9, RoleDigitBack2);
    for (int p = 0; p < 4; ++p) {
        const int x = (p & 1) * 160, y = (p / 2) * 120;
        EXPECT_EQ(screen.pixel(x + 1, y), back1) << p;
        EXPECT_EQ(screen.pixel(x + 1, y + 64), back2) << p;
        // " 60" centred in the quarter: cells at x + 32 .. x + 127, the first one blank.
        EXPECT_GT(count(screen, roleArgb(s9, RoleDigitColour1), x + 48, y, x + 112, y + 64), 200) << p;
        EXPECT_EQ(count(screen, roleArgb(s9, RoleDigitColour1), x, y, x + 48, y + 64), 0) << p;
        EXPECT_GT(count(screen, roleArgb(s9, RoleDigitColour2), x + 8, y + 64, x + 160, y + 120), 150) << p;
    }
    // The second variant swaps the colours of the upper right and lower left places.
    s9.setU8(kDispVar4Offset, 1);
    previews.drawX4(screen, 2);
    EXPECT_EQ(screen.pixel(1, 0), back1);
    EXPECT_EQ(screen.pixel(161, 0), back2);
    EXPECT_EQ(screen.pixel(1, 120), back2);
    EXPECT_EQ(screen.pixel(161, 120), back1);
    EXPECT_EQ(screen.pixel(161, 184), back2);
}

TEST_F(ScreensTest, UnknownAssignmentLeavesItsPlaceEmpty)
{
    s9.setU8(placeOffset(ScreenKind::X4, 0, 0), 200);
    s9.setU8(placeOffset(ScreenKind::X4, 0, 1), 12);
    previews.drawX4(screen, 0);
    EXPECT_EQ(count(screen, roleArgb(s9, RoleDigitColour1), 0, 0, 160, 64), 0);
    EXPECT_EQ(count(screen, roleArgb(s9, RoleDigitColour2), 0, 64, 160, 120), 0);
    EXPECT_GT(count(screen, roleArgb(s9, RoleDigitColour1), 160, 0, 320, 64), 200);
}

TEST_F(ScreensTest, GraphScreenWithOneOrTwoGraphs)
{
    const int upper = placeOffset(ScreenKind::Graph, 1, kUpperGraph),
              lower = placeOffset(ScreenKind::Graph, 1, kLowerGraph);
    s9.setU8(upper, 13);
    s9.setU8(lower, 0); // no lower graph: the upper one takes the whole height
    previews.drawGraph(screen, 1);
    const quint32 trace1 = roleArgb(s9, RoleGraph1), trace2 = roleArgb(s9, RoleGraph2);
    EXPECT_EQ(count(screen, trace2), 0);
    EXPECT_GT(count(screen, trace1, 0, 0, 320, 180), 500);
    EXPECT_EQ(screen.pixel(0, 239), roleArgb(s9, RoleGraphCaptionBack));
    EXPECT_GT(count(screen, roleArgb(s9, RoleGraphAxes), 0, 0, 320, 180), 200);

    s9.setU8(lower, 17);
    previews.drawGraph(screen, 1);
    EXPECT_GT(count(screen, trace1, 0, 0, 320, 90), 300);
    EXPECT_EQ(count(screen, trace1, 0, 90, 320, 180), 0);
    EXPECT_GT(count(screen, trace2, 0, 90, 320, 180), 300);
    EXPECT_GT(count(screen, trace2, 0, 180, 320, 240), 50); // its caption
}

TEST_F(ScreensTest, PointerScreenSidesAndTheWideConsumptionScale)
{
    s9.setU8(placeOffset(ScreenKind::Arrow, 0, kLeftGauge), 13);
    s9.setU8(placeOffset(ScreenKind::Arrow, 0, kRightGauge), 12);
    previews.drawArrow(screen, 0);
    EXPECT_EQ(screen.pixel(0, 0), roleArgb(s9, RoleArrowBack));
    EXPECT_GT(count(screen, roleArgb(s9, RoleLeftDial), 0, 0, 120, 200), 5000);
    EXPECT_GT(count(screen, roleArgb(s9, RoleRightDial), 120, 0, 320, 200), 15000);
    EXPECT_GT(count(screen, roleArgb(s9, RoleLeftScale), 0, 0, 120, 200), 200);
    EXPECT_GT(count(screen, roleArgb(s9, RoleRightScale), 120, 0, 320, 200), 400);
    EXPECT_GT(count(screen, roleArgb(s9, RoleLeftArrow), 0, 0, 120, 200), 50);
    EXPECT_GT(count(screen, roleArgb(s9, RoleRightArrow), 120, 0, 320, 200), 100);
    EXPECT_GT(count(screen, roleArgb(s9, RoleArrowCaption), 0, 200, 320, 240), 100);
    EXPECT_EQ(count(screen, roleArgb(s9, RoleWideScale)), 0);

    // Consumption per 100 km (code 14) draws its wide scale and marker in their own colour.
    setRoleIndex(s9, 0, RoleWideScale, 7);
    setRoleIndex(s9, 0, RoleLeftScale, 8);
    s9.setU8(placeOffset(ScreenKind::Arrow, 0, kLeftGauge), 14);
    previews.drawArrow(screen, 0);
    EXPECT_GT(count(screen, roleArgb(s9, RoleWideScale), 0, 0, 120, 200), 200);
    EXPECT_EQ(count(screen, roleArgb(s9, RoleLeftScale), 0, 0, 120, 200), 0);
}

TEST_F(ScreensTest, EveryScreenOfAFreshDeviceShowsSomething)
{
    const Record fresh = TMK::defaultRecords()[9];
    ScreenPreviews freshPreviews(fresh, catalog, 0);
    for (ScreenKind kind : {ScreenKind::X4, ScreenKind::X9, ScreenKind::X7, ScreenKind::Graph, ScreenKind::Arrow})
        for (int n = 0; n < screenCount(kind); ++n) {
            freshPreviews.render(screen, kind, n);
            EXPECT_GE(coloursIn(screen).size(), 3) << int(kind) << " " << n;
        }
    freshPreviews.render(screen, ScreenKind::X6, 0);
    EXPECT_GE(coloursIn(screen).size(), 3);
    // Screen numbers past the layout draw an empty screen instead of reading other settings.
    freshPreviews.render(screen, ScreenKind::X9, 3);
    freshPreviews.render(screen, ScreenKind::X7, -1);
}

TEST_F(ScreensTest, TheSchemeSetChoosesTheColours)
{
    s9.setU8(placeOffset(ScreenKind::X4, 0, 0), 12);
    setPaletteColour(s9, 1, roleIndex(s9, 1, RoleDigitBack1), 0x1234);
    ScreenPreviews user(s9, catalog, 1);
    user.drawX4(screen, 0);
    EXPECT_EQ(screen.pixel(0, 0), colourToArgb(0x1234));
    previews.drawX4(screen, 0);
    EXPECT_EQ(screen.pixel(0, 0), roleArgb(s9, RoleDigitBack1, 0));
}

// Texts of a screen never spoil each other: with every catalog entry (so the longest names and
// units among them) in every place of every screen, no glyph pixel of one text is changed by a
// later text's drawing.
TEST_F(ScreensTest, NoTextSpoilsTheGlyphsOfAnother)
{
    for (const TMeasParBase &entry : catalog.entries()) {
        previews.drawX1(screen, entry.Code);
        EXPECT_EQ(screen.overwrittenGlyphPixels(), 0) << "x1 " << int(entry.Code);
        for (ScreenKind kind :
             {ScreenKind::X4, ScreenKind::X9, ScreenKind::X7, ScreenKind::Graph, ScreenKind::Arrow, ScreenKind::X6}) {
            for (int n = 0; n < screenCount(kind); ++n) {
                for (int p = 0; p < placeCount(kind); ++p)
                    s9.setU8(placeOffset(kind, n, p), entry.Code);
                previews.render(screen, kind, n);
                EXPECT_EQ(screen.overwrittenGlyphPixels(), 0) << int(kind) << " " << n << " " << int(entry.Code);
            }
        }
    }
    previews.render(screen, ScreenKind::HotMenu, 0);
    EXPECT_EQ(screen.overwrittenGlyphPixels(), 0);
}

// The x4 screens of a fresh device: every name keeps all its glyph pixels, descenders included,
// although the unit line below it starts within the name's cell.
TEST_F(ScreensTest, FourValueNamesKeepTheirDescenders)
{
    const Record fresh = TMK::defaultRecords()[9];
    const ScreenPreviews freshPreviews(fresh, catalog, 0);
    int checked = 0;
    for (int n = 0; n < screenCount(ScreenKind::X4); ++n) {
        freshPreviews.drawX4(screen, n);
        for (int p = 0; p < 4; ++p) {
            const TMeasParBase *par = catalog.FindMeasPar(fresh.u8(placeOffset(ScreenKind::X4, n, p)));
            if (!par)
                continue;
            const int x = (p & 1) * 160 + 8, y = (p / 2) * 120 + 64;
            // The name alone, on a screen of another colour, shows which pixels are its glyphs.
            ScreenRenderer alone;
            alone.clear(0x0001);
            alone.selectFont(2);
            alone.setColours(0xFFFF, 0x0001);
            alone.setOrigin(x, y);
            alone.drawText(0, 0, par->CellName);
            const bool swapped = fresh.u8(kDispVar4Offset) == 1 && (p == 1 || p == 2);
            const quint32 nameColour = roleArgb(fresh, swapped ? RoleDigitColour1 : RoleDigitColour2);
            int pixels = 0, lowest = -1;
            for (int py = y; py < y + 32; ++py)
                for (int px = x; px < std::min(320, x + 152); ++px)
                    if (alone.pixel(px, py) == colourToArgb(0xFFFF)) {
                        ++pixels;
                        lowest = std::max(lowest, py - y);
                        ASSERT_EQ(screen.pixel(px, py), nameColour)
                            << "screen " << n << " place " << p << " " << par->CellName.toStdString() << " at " << px
                            << "," << py;
                    }
            EXPECT_GT(pixels, 0);
            if (par->CellName.contains(QRegularExpression(QStringLiteral("[рудД]")))) {
                EXPECT_GE(lowest, 24) << par->CellName.toStdString(); // down into the unit line's first rows
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 4);
}
