// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/TextTableModel.h"

namespace mk {

void TextTableModel::setRows(const QList<QStringList> &rows, const QSet<int> &leftAligned)
{
    beginResetModel();
    m_rows = rows;
    m_left = leftAligned;
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_rows.isEmpty() ? 0 : int(m_rows.size()) - 1;
}

int TextTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_rows.isEmpty() ? 0 : int(m_rows.first().size());
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() + 1 >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows[index.row() + 1].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignVCenter | (m_left.contains(index.column()) ? Qt::AlignLeft : Qt::AlignRight));
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || m_rows.isEmpty())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_rows.first().value(section);
}

} // namespace mk
