// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps top-level windows on the screen they open on: never larger than its available area, never
// reaching past its edges, the title bar (which the window manager adds above the window) below
// the area's top edge. On small screens and at large scale factors alike, every button stays
// within reach.

#include <QObject>
#include <QRect>

class QWidget;

namespace mk {

// Room left above a window for the title bar a window manager adds.
constexpr int kTitleBarRoom = 32;

// `wanted` (the window's own area, without frame) moved and cut to lie within `available`,
// its top at least kTitleBarRoom below the area's top; never smaller than `minimum` where that
// is larger than the area.
QRect fittedGeometry(const QRect &wanted, const QRect &available, const QSize &minimum = {});

// The available area of the screen that holds most of `area` (the primary screen when none does).
QRect availableAreaFor(const QRect &area);

// Fits a top-level window to its screen now.
void fitToScreen(QWidget &window);

// Fits every top-level window as it is shown; installed on the application once.
class ScreenFitFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace mk
