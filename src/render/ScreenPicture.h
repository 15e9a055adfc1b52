// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small picture drawn onto the preview screen: every non-black pixel takes the pen colour.

#include <QtGlobal>
#include <vector>

namespace mk {

struct ScreenPicture
{
    int width = 0;
    int height = 0;
    std::vector<quint8> pixels; // row-major; 0 = black (left as it is), anything else = drawn

    ScreenPicture() = default;
    ScreenPicture(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), 0) {}

    bool at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)] != 0; }
    void set(int x, int y)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[size_t(y) * size_t(width) + size_t(x)] = 1;
    }
};

} // namespace mk
