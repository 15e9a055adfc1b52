#pragma once
// The device's screen kinds, where section 9 keeps the measured-parameter code of each place,
// and which place a click into a screen preview falls on.

#include <QtGlobal>

namespace mk {

enum class ScreenKind { X1, X4, X9, X7, Graph, Arrow, X6, HotMenu };

// Screens of a kind that the device has (x1 screens are one per measured parameter: 0 here).
int screenCount(ScreenKind kind);
// Places of one screen (0 for the x1 and hot-menu screens).
int placeCount(ScreenKind kind);
// Section 9 offset of the code shown in place p of screen s (0-based); -1 when there is none.
int placeOffset(ScreenKind kind, int screen, int place);

// The place a click at (x, y) in a preview of width x height falls on, or -1 when the click
// opens nothing (graph screens below their graphs, kinds without places).
int placeAt(ScreenKind kind, int x, int y, int width, int height);

// Upper and lower graph, left and right pointer.
constexpr int kUpperGraph = 0, kLowerGraph = 1;
constexpr int kLeftGauge = 0, kRightGauge = 1;
// Graph previews take clicks only down to this row; below are the captions.
constexpr int kGraphClickLimit = 180;
// Pointer previews: the right gauge takes the rightmost 200 pixels.
constexpr int kRightGaugeWidth = 200;

} // namespace mk
