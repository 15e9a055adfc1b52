// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/StringGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace mk {

namespace {

// Draws numbers right-aligned 2 pixels from the cell's right edge.
class RightAlignedDelegate : public QStyledItemDelegate
{
public:
    RightAlignedDelegate(QObject *parent, int fixedRows, int firstColumn)
        : QStyledItemDelegate(parent), m_fixedRows(fixedRows), m_firstColumn(firstColumn)
    {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() < m_fixedRows || index.column() < m_firstColumn) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        painter->save();
        painter->setPen(
            opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(opt.rect.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter, text);
        painter->restore();
    }

private:
    int m_fixedRows;
    int m_firstColumn;
};

} // namespace

StringGrid::StringGrid(const QString &objectName, int columns, int rows, QWidget *parent)
    : QTableWidget(rows, columns, parent)
{
    setObjectName(objectName);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
}

void StringGrid::setFixed(int rows, int columns)
{
    m_fixedRows = rows;
    m_fixedColumns = columns;
}

void StringGrid::setRightAlignedFrom(int firstColumn)
{
    m_rightFrom = firstColumn;
    setItemDelegate(new RightAlignedDelegate(this, m_fixedRows, firstColumn));
}

void StringGrid::styleCell(QTableWidgetItem *item, int row, int column) const
{
    if (row < m_fixedRows || column < m_fixedColumns) {
        item->setBackground(palette().button());
        item->setFlags(Qt::ItemIsEnabled);
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
}

void StringGrid::setRows(const QList<QStringList> &rows, bool keepRowCount)
{
    const int count = keepRowCount ? qMax(rowCount(), int(rows.size())) : int(rows.size());
    setRowCount(count);
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const QString text = r < rows.size() && c < rows[r].size() ? rows[r][c] : QString();
            QTableWidgetItem *cell = item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(r, c, cell);
            }
            cell->setText(text);
            styleCell(cell, r, c);
        }
    }
}

QString StringGrid::cellText(int column, int row) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void StringGrid::fitColumnsToTexts()
{
    int total = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columnCount(); ++c) {
        int width = 0;
        for (int r = 0; r < rowCount(); ++r)
            width = qMax(width, fontMetrics().horizontalAdvance(cellText(c, r)));
        setColumnWidth(c, width + 12);
        total += width + 12;
    }
    setMinimumWidth(total);
}

QList<QStringList> StringGrid::rowTexts() const
{
    QList<QStringList> rows;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columnCount(); ++c)
            row << cellText(c, r);
        rows << row;
    }
    return rows;
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    emit gridDoubleClicked();
}

} // namespace mk
