// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlacement.h"

#include "widgets/IniFile.h"
#include "widgets/ScreenFit.h"

#include <QWidget>
#include <algorithm>

namespace mk {

namespace {

StoredWindowState currentState(const QWidget &window)
{
    if (window.windowState() & Qt::WindowMinimized)
        return StoredWindowState::Minimized;
    if (window.windowState() & Qt::WindowMaximized)
        return StoredWindowState::Maximized;
    return StoredWindowState::Normal;
}

bool resizable(const QWidget &window) { return window.minimumSize() != window.maximumSize(); }

// The window's own area in its normal state. Window managers add their frame after the window
// is mapped, and its size differs between them, so the frame is neither stored nor restored: the
// same measure goes out and comes back, and the window stays where it was.
QRect normalArea(const QWidget &window)
{
    const QRect normal = window.normalGeometry();
    return normal.isValid() ? normal : window.geometry();
}

} // namespace

void loadPlacement(const IniFile &ini, const QString &section, QWidget &window)
{
    const int state = ini.readInteger(section, QStringLiteral("State"), int(currentState(window)));
    if (state == int(StoredWindowState::Maximized)) {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        return;
    }
    const Qt::WindowStates others = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    window.setWindowState(state == int(StoredWindowState::Minimized) ? others | Qt::WindowMinimized : others);

    const QRect area = normalArea(window);
    const int left = std::max(0, ini.readInteger(section, QStringLiteral("Left"), area.left()));
    const int top = std::max(0, ini.readInteger(section, QStringLiteral("Top"), area.top()));
    QSize size = area.size();
    if (resizable(window)) {
        const int width = ini.readInteger(section, QStringLiteral("Width"), size.width());
        const int height = ini.readInteger(section, QStringLiteral("Height"), size.height());
        size = QSize(width < 0 ? 100 : width, height < 0 ? 100 : height);
    }
    // Kept on the screen that holds most of it (another screen may be gone, or smaller now).
    const QRect placed(QPoint(left, top), size);
    window.setGeometry(fittedGeometry(placed, availableAreaFor(placed), window.minimumSize()));
}

void storePlacement(IniFile &ini, const QString &section, const QWidget &window)
{
    const QRect area = normalArea(window);
    ini.writeInteger(section, QStringLiteral("State"), int(currentState(window)));
    ini.writeInteger(section, QStringLiteral("Left"), area.left());
    ini.writeInteger(section, QStringLiteral("Top"), area.top());
    ini.writeInteger(section, QStringLiteral("Width"), area.width());
    ini.writeInteger(section, QStringLiteral("Height"), area.height());
}

} // namespace mk
