// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// RGB565 display colours as the device stores them.

#include <QtGlobal>

namespace mk {

struct Rgb5
{
    int r = 0; // 0..31
    int g = 0; // 0..31 (the device keeps a sixth green bit equal to the lowest one)
    int b = 0; // 0..31
    bool operator==(const Rgb5 &) const = default;
};

struct Rgb8
{
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb8 &) const = default;
};

constexpr quint16 packColour(int r, int g, int b) { return quint16((r << 11) | (g << 6) | ((g & 1) << 5) | b); }
constexpr Rgb5 unpackColour(quint16 word) { return {(word >> 11) & 31, (word >> 6) & 31, word & 31}; }
// The 8-bit channels a screen shows for a colour word.
constexpr Rgb8 colourToRgb8(quint16 word)
{
    const qint64 r5 = (word >> 11) & 31, g6 = (word >> 5) & 63, b5 = word & 31;
    return {int((r5 * 541052) >> 16), int((g6 * 266294) >> 16), int((b5 * 541052) >> 16)};
}
// 0xAARRGGBB, opaque, for QImage and friends.
constexpr quint32 colourToArgb(quint16 word)
{
    const Rgb8 c = colourToRgb8(word);
    return 0xFF000000u | (quint32(c.r) << 16) | (quint32(c.g) << 8) | quint32(c.b);
}

} // namespace mk
