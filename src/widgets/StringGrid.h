// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table of plain texts with fixed header rows and columns, filled row by row.

#include <QList>
#include <QStringList>
#include <QTableWidget>

namespace mk {

class StringGrid : public QTableWidget
{
    Q_OBJECT
public:
    StringGrid(const QString &objectName, int columns, int rows, QWidget *parent = nullptr);

    // Rows and columns drawn like headers (grey, not selectable).
    void setFixed(int rows, int columns);
    // Cells of columns >= firstColumn, below the fixed rows, are drawn right-aligned with a
    // 2-pixel margin (numbers).
    void setRightAlignedFrom(int firstColumn);

    // Replaces every cell; the row count becomes the number of rows given, or stays at the
    // grid's declared minimum when keepRowCount is set (missing cells are empty).
    void setRows(const QList<QStringList> &rows, bool keepRowCount = false);
    QString cellText(int column, int row) const;
    // Widens every column to its longest text and the grid to show all columns.
    void fitColumnsToTexts();
    QList<QStringList> rowTexts() const;

signals:
    void gridDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void styleCell(QTableWidgetItem *item, int row, int column) const;

    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    int m_rightFrom = -1;
};

} // namespace mk
