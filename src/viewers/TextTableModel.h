// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only table of texts for long listings: the first row is the header, numbers are
// right-aligned. A view over it stays quick with tens of thousands of rows, where a grid of
// items would not.

#include <QAbstractTableModel>
#include <QList>
#include <QSet>
#include <QStringList>

namespace mk {

class TextTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // `rows` starts with the header; the columns in `leftAligned` keep their text at the left.
    void setRows(const QList<QStringList> &rows, const QSet<int> &leftAligned = {});
    const QList<QStringList> &rows() const { return m_rows; } // the header included

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QStringList> m_rows;
    QSet<int> m_left;
};

} // namespace mk
