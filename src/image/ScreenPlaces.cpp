// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ScreenPlaces.h"

namespace mk {

namespace {

struct KindLayout
{
    int screens;
    int places;
    int firstOffset; // display-section offset of screen 0, place 0
};

KindLayout layoutOf(ScreenKind kind)
{
    switch (kind) {
    case ScreenKind::X4: return {6, 4, 12};
    case ScreenKind::X7: return {4, 7, 36};
    case ScreenKind::Graph: return {8, 2, 64};
    case ScreenKind::Arrow: return {8, 2, 80};
    case ScreenKind::X9: return {3, 9, 96};
    case ScreenKind::X6: return {1, 6, 400};
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
