#include "app/WindowPlacement.h"

#include "app/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

bool resizable(const QWidget &window)
{
    return window.minimumSize() != window.maximumSize();
}

bool onSomeScreen(const QRect &frame)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true; // nothing to compare with: trust the stored value
    for (const QScreen *screen : screens)
        if (screen->availableVirtualGeometry().intersects(frame))
            return true;
    return false;
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

    const QRect frame = window.frameGeometry();
    const int left = std::max(0, ini.readInteger(section, QStringLiteral("Left"), frame.left()));
    const int top = std::max(0, ini.readInteger(section, QStringLiteral("Top"), frame.top()));
    if (resizable(window)) {
        int width = ini.readInteger(section, QStringLiteral("Width"), window.width());
        int height = ini.readInteger(section, QStringLiteral("Height"), window.height());
        window.resize(width < 0 ? 100 : width, height < 0 ? 100 : height);
    }
    if (onSomeScreen(QRect(QPoint(left, top), window.frameGeometry().size())))
        window.move(left, top);
}

void storePlacement(IniFile &ini, const QString &section, const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    ini.writeInteger(section, QStringLiteral("State"), int(currentState(window)));
    ini.writeInteger(section, QStringLiteral("Left"), frame.left());
    ini.writeInteger(section, QStringLiteral("Top"), frame.top());
    // Sizes are the client area's, the same measure loadPlacement gives back to resize().
    ini.writeInteger(section, QStringLiteral("Width"), window.width());
    ini.writeInteger(section, QStringLiteral("Height"), window.height());
}

} // namespace mk
