// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pop-up menus of the display-layout previews: which measured parameters a place offers.

#include "image/ScreenPlaces.h"

#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QPoint;

namespace mk {

class MeasParCatalog;
class TProtBase;

struct PlaceMenuEntry
{
    QString caption;
    quint8 code = 0;
    bool checked = false;
};

// objectName of the menu of a kind's place: pmDig4, pmDig9, pmDig7, pmDig6, pmGraph1/2, pmArrow1/2.
QString placeMenuName(ScreenKind kind, int place);

// The entries for a place: the protocol's parameters in its order, resolved through the catalog
// (codes it does not know are left out), filtered for graphs and pointer sides; the lower graph
// starts with "Отсутствует" (code 0). The entry whose code is `current` is checked. No protocol:
// no parameters.
std::vector<PlaceMenuEntry> placeMenuEntries(ScreenKind kind, int place, const TProtBase *protocol,
                                             const MeasParCatalog &catalog, quint8 current);

// Shows a menu at a global position and returns the chosen action (nullptr: none). Tests put a
// hook in its place, as they do for message boxes.
using MenuHook = std::function<QAction *(QMenu &menu)>;
class ScopedMenuHook
{
public:
    explicit ScopedMenuHook(MenuHook hook);
    ~ScopedMenuHook();
    ScopedMenuHook(const ScopedMenuHook &) = delete;
    ScopedMenuHook &operator=(const ScopedMenuHook &) = delete;

private:
    MenuHook m_previous;
};
QAction *execMenu(QMenu &menu, const QPoint &globalPos);

} // namespace mk
