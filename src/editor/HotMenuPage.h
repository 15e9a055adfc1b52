// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page "Горячие меню": the four hot menus of the device in four grids, edited through a
// right-click menu (insert, delete, clear) and by dragging rows by their number.

#include "editor/EditorPage.h"

#include <QPoint>
#include <array>
#include <vector>

class QMenu;
class QTableWidget;

namespace mk {

struct HotMenuAddEntry;

class HotMenuPage : public EditorPage
{
    Q_OBJECT
public:
    HotMenuPage(QWidget *tabSheet, EditorHost &host);

    // Compacts every list in the records, then shows them.
    void load() override;

    QTableWidget *grid(int list) const { return m_grids[size_t(list)]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(int list, const QPoint &pos);
    void showAddMenu();
    void fillAddMenu(QMenu *menu, const std::vector<HotMenuAddEntry> &entries);
    int listOfViewport(QObject *viewport) const;

    std::array<QTableWidget *, 4> m_grids{};
    QMenu *m_contextMenu = nullptr;
    QMenu *m_addMenu = nullptr;
    // Where the user last pressed the right button: list, row and screen point.
    int m_list = -1;
    int m_row = -1;
    QPoint m_point;
    // A row being dragged by its number: list and row, or -1.
    int m_dragList = -1;
    int m_dragFrom = -1;
};

} // namespace mk
