// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Colour.h"
#include "base/Text.h"
#include "render/ScreenFonts.h"
#include "render/ScreenRenderer.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace mk;

namespace {

constexpr quint16 kRed = 0xF800;
constexpr quint16 kBlue = 0x001F;
const quint32 kRedArgb = colourToArgb(kRed);
const quint32 kBlueArgb = colourToArgb(kBlue);
const quint32 kBlackArgb = colourToArgb(0);

int countPixels(const ScreenRenderer &s, quint32 argb)
{
    int n = 0;
    for (int i = 0; i < ScreenRenderer::kWidth * ScreenRenderer::kHeight; ++i)
        n += s.pixels()[i] == argb;
    return n;
}

// Columns (in cells of the current font) whose cell holds at least one foreground pixel.
int inkedCells(const ScreenRenderer &s, int row, quint32 ink)
{
    const ScreenFont &f = s.font();
    int cells = 0;
    for (int c = 0; c < ScreenRenderer::kWidth / f.width; ++c) {
        bool any = false;
        for (int y = row * f.height; y < (row + 1) * f.height && !any; ++y)
            for (int x = c * f.width; x < (c + 1) * f.width && !any; ++x)
                any = s.pixel(x, y) == ink;
        cells += any;
    }
    return cells;
}

} // namespace

TEST(ScreenFonts, LayoutOfTheFourFonts)
{
    const int expected[4][4] = {{8, 16, 160, 0}, {16, 32, 160, 0}, {32, 64, 20, 1}, {40, 80, 20, 1}};
    for (int n = 1; n <= 4; ++n) {
        const ScreenFont &f = screenFont(n);
        EXPECT_EQ(f.width, expected[n - 1][0]);
        EXPECT_EQ(f.height, expected[n - 1][1]);
        EXPECT_EQ(f.glyphCount, expected[n - 1][2]);
        EXPECT_EQ(f.digits, bool(expected[n - 1][3]));
        EXPECT_EQ(f.bytesPerGlyph(), f.width / 8 * f.height);
    }
}

TEST(ScreenFonts, TextFontGlyphIndices)
{
    const ScreenFont &f = screenFont(1);
    EXPECT_EQ(f.glyphIndex(' '), 0);
    EXPECT_EQ(f.glyphIndex('A'), 'A' - 32);
    EXPECT_EQ(f.glyphIndex(127), 95);
    EXPECT_EQ(f.glyphIndex(192), 96);  // "А"
    EXPECT_EQ(f.glyphIndex(255), 159); // "я"
    for (int b : {0, 10, 31, 128, 150, 168, 184, 191})
        EXPECT_EQ(f.glyphIndex(quint8(b)), -1) << b;
}

TEST(ScreenFonts, DigitFontGlyphIndices)
{
    for (int n : {3, 4}) {
        const ScreenFont &f = screenFont(n);
        EXPECT_EQ(f.glyphIndex('1'), 6);
        EXPECT_EQ(f.glyphIndex('2'), 7);
        EXPECT_EQ(f.glyphIndex(':'), 4);
        EXPECT_EQ(f.glyphIndex('5'), 10);
        EXPECT_EQ(f.glyphIndex('+'), 1);
        EXPECT_EQ(f.glyphIndex('-'), 2);
        EXPECT_EQ(f.glyphIndex('.'), 3);
        EXPECT_EQ(f.glyphIndex('0'), 5);
        EXPECT_EQ(f.glyphIndex('9'), 14);
        const char letters[] = "TDNPR";
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(f.glyphIndex(quint8(letters[i])), 15 + i);
        for (int b : {int(' '), int('A'), int('x'), 0, 255, 150})
            EXPECT_EQ(f.glyphIndex(quint8(b)), 0) << b;
    }
}

// The generated data must hold real glyphs: blanks are blank, every other glyph has ink and
// glyphs differ from one another.
TEST(ScreenFonts, GlyphsAreDrawnAndDistinct)
{
    for (int n = 1; n <= 4; ++n) {
        const ScreenFont &f = screenFont(n);
        const QByteArray blank(f.bytesPerGlyph(), '\0');
        auto glyph = [&](int i) { return QByteArray(reinterpret_cast<const char *>(f.glyph(i)), f.bytesPerGlyph()); };
        EXPECT_EQ(glyph(0), blank) << n; // space / blank
        QSet<QByteArray> seen;
        for (int i = 1; i < f.glyphCount; ++i) {
            if (!f.digits && i == 127 - 32)
                continue; // byte 127 has no picture
            EXPECT_NE(glyph(i), blank) << "font " << n << " glyph " << i;
            seen.insert(glyph(i));
        }
        // Cyrillic letters shaped like Latin ones (А/A, О/O, р/p ...) share a picture; nothing else.
        EXPECT_GE(seen.size(), f.digits ? f.glyphCount - 1 : f.glyphCount - 1 - 24) << n;
    }
    // "О" (Cyrillic) and "0" (digit) look different in the text fonts.
    const ScreenFont &f = screenFont(1);
    EXPECT_NE(QByteArray(reinterpret_cast<const char *>(f.glyph(f.glyphIndex(0xCE))), 16),
              QByteArray(reinterpret_cast<const char *>(f.glyph(f.glyphIndex('0'))), 16));
}

TEST(ScreenRenderer, ClearFillAndClipping)
{
    ScreenRenderer s;
    s.clear(kBlue);
    EXPECT_EQ(countPixels(s, kBlueArgb), 320 * 240);
    s.clear();
    EXPECT_EQ(countPixels(s, kBlackArgb), 320 * 240);

    s.setBackground(kRed);
    s.setOrigin(300, 230);
    s.fillRect(50, 50); // clipped at the right and bottom edge
    EXPECT_EQ(countPixels(s, kRedArgb), 20 * 10);
    EXPECT_EQ(s.pixel(300, 230), kRedArgb);
    EXPECT_EQ(s.pixel(299, 230), kBlackArgb);

    s.clear();
    s.setOrigin(-10, -10); // nothing may be written outside the bitmap
    s.fillRect(20, 20);
    EXPECT_EQ(countPixels(s, kRedArgb), 10 * 10);
}

TEST(ScreenRenderer, LinesAddOriginAndOrderEnds)
{
    ScreenRenderer s;
    s.setForeground(kRed);
    s.setOrigin(10, 20);
    s.hLine(15, 5, 3); // from min to max
    EXPECT_EQ(countPixels(s, kRedArgb), 11);
    EXPECT_EQ(s.pixel(15, 23), kRedArgb);
    EXPECT_EQ(s.pixel(25, 23), kRedArgb);
    EXPECT_EQ(s.pixel(26, 23), kBlackArgb);

    s.clear();
    s.vLine(0, 7, 2);
    EXPECT_EQ(countPixels(s, kRedArgb), 6);
    EXPECT_EQ(s.pixel(10, 22), kRedArgb);
    EXPECT_EQ(s.pixel(10, 27), kRedArgb);
}

TEST(ScreenRenderer, ThickLinesAreCentredTheDeviceWay)
{
    ScreenRenderer s;
    s.setForeground(kRed);
    s.setThickness(4); // rows y-2 .. y+1
    s.thickHLine(0, 9, 50);
    EXPECT_EQ(countPixels(s, kRedArgb), 40);
    EXPECT_EQ(s.pixel(0, 48), kRedArgb);
    EXPECT_EQ(s.pixel(0, 51), kRedArgb);
    EXPECT_EQ(s.pixel(0, 47), kBlackArgb);
    EXPECT_EQ(s.pixel(0, 52), kBlackArgb);

    s.clear();
    s.setThickness(3); // columns x-1 .. x+1
    s.thickVLine(100, 0, 4);
    EXPECT_EQ(countPixels(s, kRedArgb), 15);
    EXPECT_EQ(s.pixel(99, 0), kRedArgb);
    EXPECT_EQ(s.pixel(101, 4), kRedArgb);
}

TEST(ScreenRenderer, PictureDrawsOnlyItsNonBlackPixels)
{
    ScreenRenderer s;
    s.clear(kBlue);
    ScreenPicture p(3, 2);
    p.set(0, 0);
    p.set(2, 1);
    s.setForeground(kRed);
    s.setOrigin(5, 5);
    s.drawPicture(1, 1, p);
    EXPECT_EQ(s.pixel(6, 6), kRedArgb);
    EXPECT_EQ(s.pixel(8, 7), kRedArgb);
    EXPECT_EQ(s.pixel(7, 6), kBlueArgb); // black picture pixels leave the screen alone
    EXPECT_EQ(countPixels(s, kRedArgb), 2);
    s.drawPicture(318, 238, p); // partly off screen: clipped
}

TEST(ScreenRenderer, CharacterPaintsForegroundAndBackgroundAndAdvances)
{
    ScreenRenderer s;
    s.clear(0x07E0);
    s.setColours(kRed, kBlue);
    s.selectFont(1);
    s.setCursor(2, 1);
    s.drawChar('H');
    EXPECT_EQ(s.cursorColumn(), 3);
    int ink = 0, paper = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 16; x < 24; ++x) {
            ink += s.pixel(x, y) == kRedArgb;
            paper += s.pixel(x, y) == kBlueArgb;
        }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(ink + paper, 8 * 16); // the whole cell is painted
    EXPECT_EQ(countPixels(s, kRedArgb) + countPixels(s, kBlueArgb), 8 * 16);
}

TEST(ScreenRenderer, FortyOneCharactersInFontOneDrawForty)
{
    ScreenRenderer s;
    s.setColours(kRed, kBlue);
    s.selectFont(1);
    s.drawText(0, 0, QByteArray(41, 'W'));
    EXPECT_EQ(s.cursorColumn(), 40); // the 41st did not move the cursor
    EXPECT_EQ(inkedCells(s, 0, kRedArgb), 40);
    EXPECT_EQ(countPixels(s, kBlueArgb) + countPixels(s, kRedArgb), 320 * 16);

    // The same holds for rows: the 16th row of font 1 does not exist.
    s.clear();
    s.drawText(0, 15, QByteArray("W"));
    EXPECT_EQ(s.cursorColumn(), 0);
    EXPECT_EQ(countPixels(s, kRedArgb), 0);
}

TEST(ScreenRenderer, BytesOutsideTheTextFontAreSkipped)
{
    ScreenRenderer s;
    s.setColours(kRed, kBlue);
    s.selectFont(2);
    QByteArray text("A");
    text.append(char(150));
    text.append('B');
    s.drawText(0, 0, text);
    EXPECT_EQ(s.cursorColumn(), 2); // byte 150 neither drew nor moved
    EXPECT_EQ(inkedCells(s, 0, kRedArgb), 2);

    ScreenRenderer t;
    t.setColours(kRed, kBlue);
    t.selectFont(2);
    t.drawText(0, 0, QByteArray("AB"));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(s.pixel(x, y), t.pixel(x, y)) << x << "," << y;
}

TEST(ScreenRenderer, DigitFontDrawsOtherBytesBlankAndAdvances)
{
    ScreenRenderer s;
    s.setColours(kRed, kBlue);
    s.selectFont(4);
    s.drawText(0, 0, QByteArray("x1"));
    EXPECT_EQ(s.cursorColumn(), 2);
    EXPECT_EQ(inkedCells(s, 0, kRedArgb), 1); // "x" is the blank glyph, painted in the paper colour
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(s.pixel(x, y), kBlueArgb);
}

TEST(ScreenRenderer, UnicodeTextIsDrawnAsWindows1251)
{
    ScreenRenderer a, b;
    a.drawText(0, 0, QStringLiteral("Скорость"));
    b.drawText(0, 0, toWin1251(QStringLiteral("Скорость")));
    EXPECT_EQ(a.cursorColumn(), 8);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 16; ++y)
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y));
}
