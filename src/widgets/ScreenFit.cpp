// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace mk {

QRect fittedGeometry(const QRect &wanted, const QRect &available, const QSize &minimum)
{
    if (!available.isValid())
        return wanted;
    const QRect room = available.adjusted(0, kTitleBarRoom, 0, 0);
    const QSize size(std::max(std::min(wanted.width(), room.width()), minimum.width()),
                     std::max(std::min(wanted.height(), room.height()), minimum.height()));
    // The top-left corner wins where the window is larger than the room: the title bar and the
    // window's own first controls stay reachable.
    const int left = std::max(room.left(), std::min(wanted.left(), room.right() + 1 - size.width()));
    const int top = std::max(room.top(), std::min(wanted.top(), room.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

QRect availableAreaFor(const QRect &area)
{
    QScreen *best = QGuiApplication::primaryScreen();
    qint64 bestOverlap = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(area);
        const qint64 size = qint64(overlap.width()) * overlap.height();
        if (overlap.isValid() && size > bestOverlap) {
            best = screen;
            bestOverlap = size;
        }
    }
    return best ? best->availableGeometry() : QRect();
}

void fitToScreen(QWidget &window)
{
    if (!window.isWindow() || (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect now = window.geometry();
    const QRect fitted = fittedGeometry(now, availableAreaFor(now), window.minimumSize());
    // A window nobody placed is placed by the window manager: only its size is ours to fit.
    if (!window.testAttribute(Qt::WA_Moved))
        window.resize(fitted.size());
    else if (fitted != now)
        window.setGeometry(fitted);
}

bool ScreenFitFilter::eventFilter(QObject *watched, QEvent *event)
{
    // Sent before the window is mapped: the window manager gets the fitted place.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog))
            fitToScreen(*widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mk
