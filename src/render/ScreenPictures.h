// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of the pointer screens: dial faces, scales, pointers and the round marker.
// Every picture is square, 2·radius + 1 pixels wide, centred on its middle pixel.

#include "render/ScreenPicture.h"

namespace mk {

// A scale runs clockwise over 270 degrees, from the lower left (fraction 0) to the lower
// right (fraction 1).
constexpr double kScaleStartDegrees = 225.0;
constexpr double kScaleSweepDegrees = 270.0;

// Offset from the centre of the point at fraction t of the scale, radius r.
struct PointF
{
    double x = 0;
    double y = 0;
};
PointF scalePoint(double t, double radius);

ScreenPicture dialPicture(int radius);
// The scale's arc with major ticks at every quarter and minor ticks between them.
ScreenPicture scalePicture(int radius);
// A pointer from the centre to the scale at fraction t, tapering towards its tip, with a hub.
ScreenPicture arrowPicture(int radius, double t);
// A ring of the given thickness.
ScreenPicture ringPicture(int radius, int thickness);

} // namespace mk
