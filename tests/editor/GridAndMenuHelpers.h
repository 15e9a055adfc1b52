#pragma once
// Small helpers for driving grids and pop-up menus in the editor's GUI tests.

#include <QAbstractItemModel>
#include <QAction>
#include <QMenu>
#include <QTableWidget>

namespace mk::test {

inline QPoint cellCentre(QTableWidget *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// An action anywhere in the menu tree, by its objectName.
inline QAction *findAction(QMenu *menu, const QString &name)
{
    for (QAction *a : menu->actions()) {
        if (a->objectName() == name)
            return a;
        if (a->menu())
            if (QAction *found = findAction(a->menu(), name))
                return found;
    }
    return nullptr;
}

} // namespace mk::test
