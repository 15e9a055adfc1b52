// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Colour.h"
#include "image/TMK.h"

#include <gtest/gtest.h>

using namespace mk;

TEST(Colour, PackUnpackAndScreenConversion)
{
    EXPECT_EQ(packColour(31, 31, 31), 0xFFFF);
    EXPECT_EQ(packColour(9, 9, 0), 0x4A60);
    EXPECT_EQ(unpackColour(0x07E0).g, 31);
    EXPECT_EQ(unpackColour(0x4A60), (Rgb5{9, 9, 0}));
    for (int r = 0; r < 32; r += 3)
        for (int g = 0; g < 32; g += 5)
            for (int b = 0; b < 32; b += 7)
                ASSERT_EQ(unpackColour(packColour(r, g, b)), (Rgb5{r, g, b}));
    EXPECT_EQ(colourToRgb8(0xFFFF), (Rgb8{255, 255, 255}));
    EXPECT_EQ(colourToRgb8(0x0000), (Rgb8{0, 0, 0}));
    EXPECT_EQ(colourToRgb8(0xF800), (Rgb8{255, 0, 0}));
    EXPECT_EQ(colourToArgb(0x001F), 0xFF0000FFu);
}

TEST(Colour, PresetsHoldColoursThenIndices)
{
    for (int p = 1; p <= 4; ++p) {
        const QByteArray preset = TMK::colourPreset(p);
        ASSERT_EQ(preset.size(), TMK::kPresetSize);
        EXPECT_EQ(uchar(preset[30]), 0xFF) << p; // colour 15 is white in every preset
        EXPECT_EQ(preset[55], '\0');
    }
    EXPECT_EQ(uchar(TMK::colourPreset(2)[6]), 0x00); // preset 2 colour 3 = 0x4200
    EXPECT_EQ(uchar(TMK::colourPreset(2)[7]), 0x42);
    EXPECT_EQ(TMK::colourPreset(3)[32], 15);
    EXPECT_EQ(TMK::colourPreset(4)[32 + 22], 9);
}
