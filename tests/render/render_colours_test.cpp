// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Colour.h"
#include "image/ColourSchemes.h"
#include "image/TMK.h"
#include "render/ScreenHotMenu.h"
#include "render/ScreenRenderer.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

Record freshSection9() { return TMK::defaultRecords()[9]; }

} // namespace

TEST(ColourScheme, RoleColourIsThePaletteWordOfTheIndexByte)
{
    Record s9 = freshSection9();
    // Default: set 0 = preset 1, set 1 = preset 4.
    EXPECT_EQ(paletteColour(s9, 0, 2), 0xFB60);
    EXPECT_EQ(roleIndex(s9, 0, RoleDigitColour1), 15);
    EXPECT_EQ(roleColour(s9, 0, RoleDigitColour1), 0xFFFF);
    EXPECT_EQ(roleColour(s9, 0, RoleDigitBack1), 0x0006); // index 4
    EXPECT_EQ(roleColour(s9, 1, RoleDigitBack1), 0xF800); // preset 4: index 9
    setRoleIndex(s9, 1, RoleWideScale, 3);
    EXPECT_EQ(s9.u8(304 + 54), 3);
    setPaletteColour(s9, 1, 3, 0x1234);
    EXPECT_EQ(s9.u16(304 + 6), 0x1234);
    EXPECT_EQ(roleColour(s9, 1, RoleWideScale), 0x1234);
    // An index byte beyond the palette (damaged image) still names a palette colour.
    s9.setU8(248 + 32, 0xF2);
    EXPECT_EQ(roleColour(s9, 0, RoleDigitColour1), 0xFB60);
}

TEST(ColourScheme, SwitchingToUserAndBackAsksNothing)
{
    Record s9 = freshSection9();
    s9.setU8(kActiveColourSchemeOffset, 0x11);
    const QByteArray before = s9.bytes();
    int asked = 0;
    const auto ask = [&] {
        ++asked;
        return true;
    };
    EXPECT_TRUE(chooseColourScheme(s9, 4, true, ask));
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 0x14);
    EXPECT_EQ(editedSetFor(s9), 1);
    EXPECT_TRUE(chooseColourScheme(s9, 1, true, ask));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(s9.bytes(), before);
}

TEST(ColourScheme, NeverRecordedLoadedSchemeTakesTheActiveOne)
{
    Record s9 = freshSection9(); // byte 360 = 1: active 1, loaded never recorded
    EXPECT_TRUE(chooseColourScheme(s9, 4, true, {}));
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 0x14);
    s9.setU8(kActiveColourSchemeOffset, 0x02);
    EXPECT_TRUE(chooseColourScheme(s9, 2, true, {}));
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 0x22);
}

TEST(ColourScheme, AnotherPredefinedSchemeAsksWhenClickedAndNoKeepsAll)
{
    Record s9 = freshSection9();
    s9.setU8(kActiveColourSchemeOffset, 0x11);
    s9.setU16(248, 0x1111); // an edit in set 0
    const QByteArray before = s9.bytes();
    int asked = 0;
    EXPECT_FALSE(chooseColourScheme(s9, 2, true, [&] {
        ++asked;
        return false;
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s9.bytes(), before);

    EXPECT_TRUE(chooseColourScheme(s9, 2, true, [&] {
        ++asked;
        return true;
    }));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 0x22);
    EXPECT_EQ(s9.raw(248, 56), TMK::colourPreset(2));
    EXPECT_EQ(s9.raw(304, 56), before.mid(304, 56)); // the user scheme stays

    // Set programmatically (not clicked): no question.
    EXPECT_TRUE(chooseColourScheme(s9, 3, false, [&] {
        ++asked;
        return false;
    }));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 0x33);
    EXPECT_EQ(s9.raw(248, 56), TMK::colourPreset(3));
}

TEST(ColourScheme, CopyToUserAndResetAll)
{
    Record s9 = freshSection9();
    s9.setU16(250, 0xABCD);
    s9.setU8(248 + 55, 7); // the last byte travels with the record
    copySchemeToUser(s9);
    EXPECT_EQ(s9.raw(304, 56), s9.raw(248, 56));

    s9.setU8(kActiveColourSchemeOffset, 0x34);
    resetColourSchemes(s9);
    EXPECT_EQ(s9.raw(248, 56), TMK::colourPreset(1));
    EXPECT_EQ(s9.raw(304, 56), TMK::colourPreset(4));
    EXPECT_EQ(s9.u8(kActiveColourSchemeOffset), 17);
    EXPECT_EQ(s9.u8(247), 0); // neighbours untouched
    EXPECT_EQ(s9.u8(361), 0);
}

TEST(HotMenuPreview, SevenNumberedRowsInTheMenuColours)
{
    Record s9 = freshSection9();
    ScreenRenderer s;
    drawHotMenuPreview(s, s9, 0);
    const quint32 back = colourToArgb(roleColour(s9, 0, RoleDigitBack1));
    const quint32 activeBack = colourToArgb(roleColour(s9, 0, RoleMenuActiveBack));
    // Rows start at (240 - 7*32)/2 = 8; the first is the active item.
    EXPECT_EQ(s.pixel(319, 0), back);
    EXPECT_EQ(s.pixel(319, 8), activeBack);
    EXPECT_EQ(s.pixel(319, 39), activeBack);
    EXPECT_EQ(s.pixel(319, 40), back);
    EXPECT_EQ(s.pixel(319, 239), back);
    // Row 3's number cell holds the hot-number colour.
    const quint32 number = colourToArgb(roleColour(s9, 0, RoleMenuHotNumber));
    int ink = 0;
    for (int y = 8 + 3 * 32; y < 8 + 4 * 32; ++y)
        for (int x = 0; x < 16; ++x)
            ink += s.pixel(x, y) == number;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(hotMenuSampleLine(0).size(), 19);
    EXPECT_TRUE(hotMenuSampleLine(6).startsWith(QStringLiteral("Сброс ЭБУ")));
}
