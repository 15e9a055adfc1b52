// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TabOrder.h"

#include <QAbstractScrollArea>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace mk {

namespace {

void collectLayout(QLayout *layout, QList<QWidget *> &out);

void collectWidget(QWidget *w, QList<QWidget *> &out)
{
    if (w->isWindow())
        return;
    if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        out << tabs;
        for (int i = 0; i < tabs->count(); ++i)
            collectWidget(tabs->widget(i), out);
        return;
    }
    if (auto *scroll = qobject_cast<QScrollArea *>(w)) {
        if (scroll->widget())
            collectWidget(scroll->widget(), out);
        return;
    }
    if (auto *stack = qobject_cast<QStackedWidget *>(w)) {
        for (int i = 0; i < stack->count(); ++i)
            collectWidget(stack->widget(i), out);
        return;
    }
    if (w->layout() && !qobject_cast<QAbstractScrollArea *>(w)) {
        if (w->focusPolicy() & Qt::TabFocus)
            out << w;
        collectLayout(w->layout(), out);
        return;
    }
    if (w->focusPolicy() & Qt::TabFocus)
        out << w;
}

void collectItem(QLayoutItem *item, QList<QWidget *> &out)
{
    if (QWidget *w = item->widget())
        collectWidget(w, out);
    else if (QLayout *inner = item->layout())
        collectLayout(inner, out);
}

void collectGrid(QGridLayout *grid, QList<QWidget *> &out)
{
    struct Cell
    {
        int band, row, column;
        QLayoutItem *item;
    };
    // Columns holding a label begin a band; the columns after one, up to the next, belong to it.
    QSet<int> labelColumns;
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (qobject_cast<QLabel *>(grid->itemAt(i)->widget()))
            labelColumns.insert(column);
    }
    std::vector<Cell> cells;
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        int band = column;
        if (!labelColumns.isEmpty()) {
            band = -1;
            for (int c : labelColumns)
                if (c <= column)
                    band = std::max(band, c);
        }
        cells.push_back({band, row, column, grid->itemAt(i)});
    }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) {
        return std::tie(a.band, a.row, a.column) < std::tie(b.band, b.row, b.column);
    });
    for (const Cell &cell : cells)
        collectItem(cell.item, out);
}

void collectLayout(QLayout *layout, QList<QWidget *> &out)
{
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        collectGrid(grid, out);
        return;
    }
    QList<QLayoutItem *> items;
    for (int i = 0; i < layout->count(); ++i)
        items << layout->itemAt(i);
    if (auto *box = qobject_cast<QBoxLayout *>(layout))
        if (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop)
            std::reverse(items.begin(), items.end());
    for (QLayoutItem *item : items)
        collectItem(item, out);
}

} // namespace

void applyNaturalTabOrder(QWidget *root)
{
    if (!root->layout())
        return;
    QList<QWidget *> order;
    collectLayout(root->layout(), order);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace mk
