#include "app/WindowDecorations.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef MK_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace mk {

void withoutTitleButtons(QWidget &window)
{
#ifdef MK_HAVE_XCB
    // Qt leaves the motif "functions" out when no button is asked for, and a window manager then
    // allows everything, close included; the hints are set here with moving alone.
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    const xcb_window_t id = xcb_window_t(window.winId());
    static const char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    if (!atom)
        return;
    constexpr quint32 kFunctionsAndDecorations = 1 | 2;
    constexpr quint32 kMove = 4;
    constexpr quint32 kBorderAndTitle = 2 | 8;
    const quint32 hints[5] = {kFunctionsAndDecorations, kMove, kBorderAndTitle, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom->atom, atom->atom, 32, 5, hints);
    std::free(atom);
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}

} // namespace mk
