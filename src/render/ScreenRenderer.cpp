// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenRenderer.h"

#include "base/Colour.h"
#include "base/Text.h"

#include <algorithm>

namespace mk {

ScreenRenderer::ScreenRenderer()
    : m_pixels(size_t(kWidth * kHeight), colourToArgb(0)),
      m_glyphOwner(size_t(kWidth * kHeight), 0),
      m_foreground(colourToArgb(0xFFFF)),
      m_background(colourToArgb(0)),
      m_font(&screenFont(1))
{}

void ScreenRenderer::clear(quint16 colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colourToArgb(colour));
    std::fill(m_glyphOwner.begin(), m_glyphOwner.end(), 0);
    m_text = 0;
    m_overwritten = 0;
}

void ScreenRenderer::setForeground(quint16 colour) { m_foreground = colourToArgb(colour); }

void ScreenRenderer::setBackground(quint16 colour) { m_background = colourToArgb(colour); }

void ScreenRenderer::fillAbsolute(int x, int y, int width, int height, quint32 argb)
{
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, kWidth), y1 = std::min(y + height, kHeight);
    for (int row = y0; row < y1; ++row)
        std::fill(m_pixels.begin() + row * kWidth + x0, m_pixels.begin() + row * kWidth + std::max(x0, x1), argb);
}

void ScreenRenderer::eraseGlyphs(int x, int y, int width, int height)
{
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, kWidth), y1 = std::min(y + height, kHeight);
    for (int row = y0; row < y1; ++row)
        std::fill(m_glyphOwner.begin() + row * kWidth + x0, m_glyphOwner.begin() + row * kWidth + std::max(x0, x1), 0);
}

void ScreenRenderer::fillRect(int width, int height)
{
    fillAbsolute(m_originX, m_originY, width, height, m_background);
    eraseGlyphs(m_originX, m_originY, width, height);
}

void ScreenRenderer::hLine(int x1, int x2, int y)
{
    const int from = std::min(x1, x2), to = std::max(x1, x2);
    fillAbsolute(m_originX + from, m_originY + y, to - from + 1, 1, m_foreground);
}

void ScreenRenderer::vLine(int x, int y1, int y2)
{
    const int from = std::min(y1, y2), to = std::max(y1, y2);
    fillAbsolute(m_originX + x, m_originY + from, 1, to - from + 1, m_foreground);
}

void ScreenRenderer::thickHLine(int x1, int x2, int y)
{
    const int from = std::min(x1, x2), to = std::max(x1, x2);
    fillAbsolute(m_originX + from, m_originY + y - m_thickness / 2, to - from + 1, m_thickness, m_foreground);
}

void ScreenRenderer::thickVLine(int x, int y1, int y2)
{
    const int from = std::min(y1, y2), to = std::max(y1, y2);
    fillAbsolute(m_originX + x - m_thickness / 2, m_originY + from, m_thickness, to - from + 1, m_foreground);
}

void ScreenRenderer::plot(int x, int y) { put(m_originX + x, m_originY + y, m_foreground); }

void ScreenRenderer::drawPicture(int x, int y, const ScreenPicture &picture)
{
    const int left = m_originX + x, top = m_originY + y;
    for (int py = 0; py < picture.height; ++py)
        for (int px = 0; px < picture.width; ++px)
            if (picture.at(px, py))
                put(left + px, top + py, m_foreground);
}

void ScreenRenderer::selectFont(int number) { m_font = &screenFont(number); }

void ScreenRenderer::drawChar(quint8 byte)
{
    const ScreenFont &f = *m_font;
    // Outside the screen's grid of cells the device draws nothing (and the cursor stays).
    if (m_column < 0 || m_row < 0 || m_column >= kWidth / f.width || m_row >= kHeight / f.height)
        return;
    const int index = f.glyphIndex(byte);
    if (index < 0)
        return;
    const uchar *bits = f.glyph(index);
    const int rowBytes = f.width / 8;
    const int left = m_originX + m_column * f.width, top = m_originY + m_row * f.height;
    const quint16 text = m_text == 0 ? ++m_text : m_text; // a character drawn on its own
    for (int y = 0; y < f.height; ++y) {
        const uchar *row = bits + y * rowBytes;
        const int py = top + y;
        if (unsigned(py) >= unsigned(kHeight))
            continue;
        for (int x = 0; x < f.width; ++x) {
            const int px = left + x;
            if (unsigned(px) >= unsigned(kWidth))
                continue;
            const size_t at = size_t(py * kWidth + px);
            const quint16 owner = m_glyphOwner[at];
            const bool earlier = owner != 0 && owner != text;
            const bool on = (row[x / 8] >> (7 - x % 8)) & 1;
            if (!on && earlier)
                continue;
            const quint32 colour = on ? m_foreground : m_background;
            if (earlier && m_pixels[at] != colour)
                ++m_overwritten;
            m_pixels[at] = colour;
            if (on)
                m_glyphOwner[at] = text;
            else if (owner == text)
                m_glyphOwner[at] = 0;
        }
    }
    ++m_column;
}

void ScreenRenderer::drawText(int column, int row, const QByteArray &text)
{
    if (m_text < 0xFFFF) // past that many texts, the later ones share a number
        ++m_text;
    setCursor(column, row);
    for (const char c : text)
        drawChar(quint8(c));
}

void ScreenRenderer::drawText(int column, int row, const QString &text) { drawText(column, row, toWin1251(text)); }

} // namespace mk
