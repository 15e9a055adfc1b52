// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenPictures.h"

#include <algorithm>
#include <cmath>

namespace mk {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Fraction of the scale at the direction (dx, dy) from the centre (y grows downwards), or a
// value outside 0..1 in the gap at the bottom.
double scaleFractionAt(double dx, double dy)
{
    double degrees = std::atan2(-dy, dx) * 180.0 / kPi; // -180..180, counter-clockwise
    double fromStart = kScaleStartDegrees - degrees;    // clockwise from the start
    while (fromStart < 0)
        fromStart += 360.0;
    while (fromStart >= 360.0)
        fromStart -= 360.0;
    return fromStart / kScaleSweepDegrees;
}

// Distance of the point p from the segment a..b, and where along it (0..1) p lies.
double segmentDistance(PointF p, PointF a, PointF b, double *along)
{
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    *along = t;
    const double cx = a.x + t * vx - p.x, cy = a.y + t * vy - p.y;
    return std::sqrt(cx * cx + cy * cy);
}

} // namespace

PointF scalePoint(double t, double radius)
{
    const double radians = (kScaleStartDegrees - kScaleSweepDegrees * t) * kPi / 180.0;
    return {radius * std::cos(radians), -radius * std::sin(radians)};
}

ScreenPicture dialPicture(int radius)
{
    ScreenPicture p(2 * radius + 1, 2 * radius + 1);
    const double limit = (radius + 0.5) * (radius + 0.5);
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= limit)
                p.set(x + radius, y + radius);
    return p;
}

ScreenPicture ringPicture(int radius, int thickness)
{
    ScreenPicture p(2 * radius + 1, 2 * radius + 1);
    const double outer = (radius + 0.5) * (radius + 0.5),
                 inner = (radius - thickness + 0.5) * (radius - thickness + 0.5);
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x) {
            const int d2 = x * x + y * y;
            if (d2 <= outer && d2 > inner)
                p.set(x + radius, y + radius);
        }
    return p;
}

ScreenPicture scalePicture(int radius)
{
    ScreenPicture p(2 * radius + 1, 2 * radius + 1);
    const int arcWidth = radius >= 60 ? 3 : 2;
    const double major = radius >= 60 ? 12 : 9, minor = major / 2;
    const int minorPerQuarter = radius >= 60 ? 5 : 2; // ticks per quarter, the major one included
    const double tickHalfWidth = radius >= 60 ? 1.0 : 0.8;
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x) {
            const double d = std::sqrt(double(x * x + y * y));
            if (d > radius + 0.5 || d < radius - major)
                continue;
            const double t = scaleFractionAt(x, y);
            if (t > 1.0 + 0.5 / (radius * 4.7))
                continue;
            bool on = d >= radius - arcWidth + 0.5 && t <= 1.0;
            for (int k = 0; k <= 4 * minorPerQuarter && !on; ++k) {
                const double tick = double(k) / (4 * minorPerQuarter);
                const double length = k % minorPerQuarter == 0 ? major : minor;
                if (d < radius - length)
                    continue;
                double along = 0;
                const PointF end = scalePoint(tick, radius);
                on = segmentDistance({double(x), double(y)}, {0, 0}, end, &along) <= tickHalfWidth;
            }
            if (on)
                p.set(x + radius, y + radius);
        }
    return p;
}

ScreenPicture arrowPicture(int radius, double t)
{
    ScreenPicture p(2 * radius + 1, 2 * radius + 1);
    const PointF tip = scalePoint(std::clamp(t, 0.0, 1.0), radius);
    const PointF tail = scalePoint(std::clamp(t, 0.0, 1.0), -radius * 0.18);
    const double hub = std::max(3.0, radius / 12.0);
    const double baseHalfWidth = std::max(1.5, radius / 30.0);
    // Only the box around the pointer and its hub can hold pointer pixels.
    const int reach = int(std::ceil(std::max(hub, baseHalfWidth))) + 1;
    const int x0 = std::max(-radius, int(std::floor(std::min(tip.x, tail.x))) - reach);
    const int x1 = std::min(radius, int(std::ceil(std::max(tip.x, tail.x))) + reach);
    const int y0 = std::max(-radius, int(std::floor(std::min(tip.y, tail.y))) - reach);
    const int y1 = std::min(radius, int(std::ceil(std::max(tip.y, tail.y))) + reach);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double along = 0;
            const double d = segmentDistance({double(x), double(y)}, tail, tip, &along);
            const double halfWidth = 0.6 + (baseHalfWidth - 0.6) * (1.0 - along);
            if (d <= halfWidth || x * x + y * y <= hub * hub)
                p.set(x + radius, y + radius);
        }
    return p;
}

} // namespace mk
