// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device's four bitmap fonts: two text fonts and two large digit fonts.

#include <QtGlobal>

namespace mk {

struct ScreenFont
{
    int number = 0; // 1..4
    int width = 0;  // cell width in pixels, a multiple of 8
    int height = 0; // cell height in pixels
    bool digits = false;
    int glyphCount = 0;
    const uchar *glyphs = nullptr; // one bit per pixel, rows of width/8 bytes, MSB leftmost

    int bytesPerGlyph() const { return width / 8 * height; }
    // The glyph a byte draws, or -1 when a text font skips the byte (the cursor stays).
    int glyphIndex(quint8 byte) const;
    const uchar *glyph(int index) const { return glyphs + index * bytesPerGlyph(); }
};

constexpr int kFontCount = 4;
// Font 1 8x16 text, 2 16x32 text, 3 32x64 digits, 4 40x80 digits. Other numbers are a
// programming error and give font 1.
const ScreenFont &screenFont(int number);

} // namespace mk
