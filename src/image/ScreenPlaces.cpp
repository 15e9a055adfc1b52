// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ScreenPlaces.h"

#include "image/RecordLayout.h"

namespace mk {

namespace {

struct KindLayout
{
    int screens;
    int places;
    int firstOffset; // display-section offset of screen 0, place 0
};

// The places of a kind, screen after screen, are one run of bytes of the display section.
KindLayout kindOf(const LayoutRow &row, int places)
{
    Q_ASSERT(row.item == 1 && row.width % places == 0);
    return {row.width / places, places, row.offset};
}

KindLayout layoutOf(ScreenKind kind)
{
    switch (kind) {
    case ScreenKind::X4: return kindOf(layout::kX4Places, 4);
    case ScreenKind::X7: return kindOf(layout::kX7Places, 7);
    case ScreenKind::Graph: return kindOf(layout::kGraphPlaces, 2);
    case ScreenKind::Arrow: return kindOf(layout::kArrowPlaces, 2);
    case ScreenKind::X9: return kindOf(layout::kX9Places, 9);
    case ScreenKind::X6: return kindOf(layout::kX6Places, 6);
    case ScreenKind::X1:
    case ScreenKind::HotMenu: break;
    }
    return {0, 0, -1};
}

} // namespace

int screenCount(ScreenKind kind) { return layoutOf(kind).screens; }

int placeCount(ScreenKind kind) { return layoutOf(kind).places; }

int placeOffset(ScreenKind kind, int screen, int place)
{
    const KindLayout l = layoutOf(kind);
    if (screen < 0 || screen >= l.screens || place < 0 || place >= l.places)
        return -1;
    return l.firstOffset + l.places * screen + place;
}

} // namespace mk
