// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws into a 320x240 bitmap the way the device draws its colour display: pen and paper in
// RGB565, an origin added to every coordinate, thick lines, pictures and the bitmap fonts.

#include "render/ScreenFonts.h"
#include "render/ScreenPicture.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace mk {

class ScreenRenderer
{
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    ScreenRenderer();

    // 0xFFRRGGBB pixels, row by row (a QImage::Format_RGB32 view fits them as they are).
    const quint32 *pixels() const { return m_pixels.data(); }
    quint32 pixel(int x, int y) const { return m_pixels[size_t(y * kWidth + x)]; }

    void clear(quint16 colour = 0);
    void setOrigin(int x, int y)
    {
        m_originX = x;
        m_originY = y;
    }
    int originX() const { return m_originX; }
    int originY() const { return m_originY; }
    void setForeground(quint16 colour);
    void setBackground(quint16 colour);
    void setColours(quint16 foreground, quint16 background)
    {
        setForeground(foreground);
        setBackground(background);
    }
    void setThickness(int pixels) { m_thickness = qMax(1, pixels); }

    // width x height at the origin in the background colour.
    void fillRect(int width, int height);
    void hLine(int x1, int x2, int y);
    void vLine(int x, int y1, int y2);
    // Lines of the current thickness, centred on y (or x) as the device does: y - t/2 .. y - t/2 + t - 1.
    void thickHLine(int x1, int x2, int y);
    void thickVLine(int x, int y1, int y2);
    void drawPicture(int x, int y, const ScreenPicture &picture);
    // A foreground pixel at origin + (x, y); used by the round parts of the pointer screens.
    void plot(int x, int y);

    void selectFont(int number);
    const ScreenFont &font() const { return *m_font; }
    void setCursor(int column, int row)
    {
        m_column = column;
        m_row = row;
    }
    int cursorColumn() const { return m_column; }
    int cursorRow() const { return m_row; }
    // The glyph's 1-bits in the foreground colour, its 0-bits in the background colour, except
    // that the 0-bits leave the glyph pixels of an earlier text alone: the device's glyphs keep
    // their top and bottom rows free, ours fill the cell, so where the device's own coordinates
    // let two lines of text share rows (the name and unit lines of the x4 screens) a later text
    // would otherwise cut off the descenders of the one above it. A fill or clear removes the
    // glyph pixels it covers.
    void drawChar(quint8 byte);
    // Single-byte (Windows-1251) text.
    void drawText(int column, int row, const QByteArray &text);
    void drawText(int column, int row, const QString &text);

    // How many glyph pixels of earlier texts later texts have changed since the last clear (a
    // check for the screen drawings: there should be none).
    int overwrittenGlyphPixels() const { return m_overwritten; }

private:
    void put(int x, int y, quint32 argb)
    {
        if (unsigned(x) < unsigned(kWidth) && unsigned(y) < unsigned(kHeight))
            m_pixels[size_t(y * kWidth + x)] = argb;
    }
    void fillAbsolute(int x, int y, int width, int height, quint32 argb);
    void eraseGlyphs(int x, int y, int width, int height);

    std::vector<quint32> m_pixels;
    // Which text (numbered from 1 since the last clear) put a glyph pixel there; 0 for none.
    std::vector<quint16> m_glyphOwner;
    quint16 m_text = 0;
    int m_overwritten = 0;
    int m_originX = 0;
    int m_originY = 0;
    quint32 m_foreground;
    quint32 m_background;
    int m_thickness = 1;
    const ScreenFont *m_font;
    int m_column = 0;
    int m_row = 0;
};

} // namespace mk
