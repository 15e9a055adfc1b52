// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which place of a screen a click into its preview falls on.

#include "image/ScreenPlaces.h"

namespace mk {

// The place a click at (x, y) in a preview of width x height falls on, or -1 when the click
// opens nothing (graph screens below their graphs, kinds without places).
int placeAt(ScreenKind kind, int x, int y, int width, int height);

// Graph previews take clicks only down to this row; below are the captions.
constexpr int kGraphClickLimit = 180;
// Pointer previews: the right gauge takes the rightmost 200 pixels.
constexpr int kRightGaugeWidth = 200;

} // namespace mk
