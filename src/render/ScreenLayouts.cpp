// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenLayouts.h"

#include <algorithm>

namespace mk {

namespace {

// Column or row of an n-part split. The last part also takes the remainder of the division,
// so a click on the rightmost (or lowest) pixels never names a place past the screen's last.
int part(int pos, int size, int parts)
{
    const int step = std::max(1, size / parts);
    return std::clamp(pos / step, 0, parts - 1);
}

} // namespace

int placeAt(ScreenKind kind, int x, int y, int width, int height)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return -1;
    switch (kind) {
    case ScreenKind::X4: return part(x, width, 2) + 2 * part(y, height, 2);
    case ScreenKind::X9: return part(x, width, 3) + 3 * part(y, height, 3);
    case ScreenKind::X7: return part(y, height, 7);
    case ScreenKind::X6: {
        // The big value takes the upper-left four cells of a 3 x 3 grid.
        static const int kPlaceOfCell[9] = {0, 0, 1, 0, 0, 2, 3, 4, 5};
        return kPlaceOfCell[part(x, width, 3) + 3 * part(y, height, 3)];
    }
    case ScreenKind::Graph:
        if (y > kGraphClickLimit)
            return -1;
        return y >= kGraphClickLimit / 2 ? kLowerGraph : kUpperGraph;
    case ScreenKind::Arrow: return x < width - kRightGaugeWidth ? kLeftGauge : kRightGauge;
    case ScreenKind::X1:
    case ScreenKind::HotMenu: break;
    }
    return -1;
}

} // namespace mk
