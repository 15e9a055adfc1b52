// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ColourSchemesPageGrid.h"

#include "base/Colour.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace mk {

namespace {

constexpr int kColourRole = Qt::UserRole + 1;
// The caption's text margins in its cell, and a little air.
constexpr int kCaptionMargins = 4 + 2 + 4;

// Paints the caption over the colour, in black or white, whichever reads better on it.
class ColourCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QColor colour = QColor::fromRgb(index.data(kColourRole).toUInt());
        painter->save();
        painter->fillRect(option.rect, colour);
        const int lightness = (colour.red() * 299 + colour.green() * 587 + colour.blue() * 114) / 1000;
        painter->setPen(lightness > 128 ? Qt::black : Qt::white);
        painter->drawText(option.rect.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        if (option.state & QStyle::State_Selected) {
            QPen pen(lightness > 128 ? Qt::black : Qt::white, 1, Qt::DashLine);
            painter->setPen(pen);
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        }
        painter->restore();
    }
};

} // namespace

ColourGrid::ColourGrid(const QString &objectName, const QStringList &captions, QWidget *parent)
    : QTableWidget(int(captions.size()), 2, parent), m_captions(captions), m_colours(size_t(captions.size()), 0)
{
    setObjectName(objectName);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("000")));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(1, new ColourCellDelegate(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < rowCount(); ++r) {
        auto *number = new QTableWidgetItem;
        number->setTextAlignment(Qt::AlignCenter);
        setItem(r, 0, number);
        setItem(r, 1, new QTableWidgetItem(captions[r]));
    }
    // Wide enough for the longest caption over its colour (the cell's text margins included).
    int widest = 0;
    for (const QString &caption : captions)
        widest = std::max(widest, fontMetrics().horizontalAdvance(caption));
    setMinimumWidth(columnWidth(0) + widest + kCaptionMargins + 2 * frameWidth());
    setMinimumHeight(rowCount() * verticalHeader()->defaultSectionSize() + 2 * frameWidth());
    setMaximumHeight(minimumHeight());
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            emit rowSelected(row);
    });
}

void ColourGrid::setRow(int row, quint16 colour, int number)
{
    if (row < 0 || row >= rowCount())
        return;
    m_colours[size_t(row)] = colour;
    item(row, 0)->setText(QString::number(number));
    item(row, 1)->setData(kColourRole, colourToArgb(colour));
}

QString ColourGrid::caption(int row) const { return row >= 0 && row < m_captions.size() ? m_captions[row] : QString(); }

quint16 ColourGrid::rowColour(int row) const { return row >= 0 && row < rowCount() ? m_colours[size_t(row)] : 0; }

} // namespace mk
