// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers for driving grids and pop-up menus in the editor's GUI tests.

#include <QAbstractItemModel>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

namespace mk::test {

inline QPoint cellCentre(QTableWidget *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// The right mouse button on a row's second column, as the window system reports it.
inline void rightClick(QTableWidget *grid, int row)
{
    const QPoint pos = cellCentre(grid, row, 1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, grid->viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(grid->viewport(), &event);
}

// A double click on a row's first column: a click followed by the double-click event, as the
// window system sends it.
inline void doubleClick(QTableWidget *grid, int row)
{
    const QPoint pos = cellCentre(grid, row, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, pos);
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
