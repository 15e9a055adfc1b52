// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks that every text of a window is shown whole at the window's fixed size.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

namespace mk::test {

// The header captions and cell texts of a grid that do not fit their column (a few pixels of
// padding on either side).
inline QStringList clippedCells(const QTableWidget &table)
{
    constexpr int kPadding = 6;
    QStringList faults;
    const QFontMetrics metrics(table.font());
    const QHeaderView *header = table.horizontalHeader();
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.isColumnHidden(c))
            continue;
        const int width = table.columnWidth(c);
        if (header->isVisible())
            if (const QTableWidgetItem *h = table.horizontalHeaderItem(c);
                h && !h->text().isEmpty() &&
                QFontMetrics(header->font()).horizontalAdvance(h->text()) + kPadding > width)
                faults << QStringLiteral("%1 header \"%2\" clipped").arg(table.objectName(), h->text());
        for (int r = 0; r < table.rowCount(); ++r) {
            const QTableWidgetItem *cell = table.item(r, c);
            if (table.isRowHidden(r) || !cell || cell->text().isEmpty() || table.columnSpan(r, c) > 1)
                continue;
            if (metrics.horizontalAdvance(cell->text()) + kPadding > width)
                faults << QStringLiteral("%1 cell %2,%3 \"%4\" clipped (%5 px wide, needs %6)")
                              .arg(table.objectName())
                              .arg(r)
                              .arg(c)
                              .arg(cell->text())
                              .arg(width)
                              .arg(metrics.horizontalAdvance(cell->text()) + kPadding);
        }
    }
    return faults;
}

// Names the widgets whose text is clipped or which stick out of their parent.
inline QStringList clippedWidgets(QWidget &window)
{
    QStringList faults;
    const auto describe = [](const QWidget *w) {
        return QStringLiteral("%1 (%2) %3x%4")
            .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
            .arg(w->width())
            .arg(w->height());
    };
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window) || w->isWindow())
            continue;
        // What a scroll area holds may be larger than its view: it scrolls.
        const auto *area = w->parentWidget() ? qobject_cast<QScrollArea *>(w->parentWidget()->parentWidget()) : nullptr;
        if (QWidget *parent = w->parentWidget();
            parent && !(area && area->widget() == w) && !parent->rect().contains(w->geometry()))
            faults << describe(w) + QStringLiteral(" sticks out of its parent");
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty())
                continue;
            const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height() &&
                                                      label->minimumSizeHint().width() <= label->width()
                                                : label->sizeHint().width() <= label->width() &&
                                                      label->sizeHint().height() <= label->height();
            if (!fits)
                faults << describe(w) + QStringLiteral(" clips \"%1\"").arg(label->text());
        } else if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)) {
            const QSize need =
                w->minimumSizeHint().expandedTo(qobject_cast<QComboBox *>(w) ? w->minimumSizeHint() : w->sizeHint());
            if (need.width() > w->width() || w->minimumSizeHint().height() > w->height())
                faults << describe(w) + QStringLiteral(" needs %1x%2").arg(need.width()).arg(need.height());
        } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
            faults << clippedCells(*table);
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            if (group->minimumSizeHint().width() > group->width() ||
                group->minimumSizeHint().height() > group->height())
                faults << describe(w) + QStringLiteral(" is smaller than its content");
        }
    }
    return faults;
}

} // namespace mk::test
