// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device's screen kinds and where the display section keeps the measured-parameter code of
// each place of each screen.

#include <QtGlobal>

namespace mk {

enum class ScreenKind { X1, X4, X9, X7, Graph, Arrow, X6, HotMenu };

// Screens of a kind that the device has (x1 screens are one per measured parameter: 0 here).
int screenCount(ScreenKind kind);
// Places of one screen (0 for the x1 and hot-menu screens).
int placeCount(ScreenKind kind);
// Display-section offset of the code shown in place p of screen s (0-based); -1 when there is none.
int placeOffset(ScreenKind kind, int screen, int place);

// Upper and lower graph, left and right pointer.
constexpr int kUpperGraph = 0, kLowerGraph = 1;
constexpr int kLeftGauge = 0, kRightGauge = 1;

} // namespace mk
