// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A colour grid of the page "Цветовые схемы": column 0 the palette number, column 1 the row's
// caption painted over the colour it stands for.

#include <QTableWidget>

namespace mk {

class ColourGrid : public QTableWidget
{
    Q_OBJECT
public:
    ColourGrid(const QString &objectName, const QStringList &captions, QWidget *parent = nullptr);

    // The row's colour and the palette number shown beside it.
    void setRow(int row, quint16 colour, int number);
    QString caption(int row) const;
    // The colour a row is painted in (RGB565).
    quint16 rowColour(int row) const;
    int selectedRow() const { return currentRow(); }

signals:
    void rowSelected(int row);

private:
    QStringList m_captions;
    std::vector<quint16> m_colours;
};

} // namespace mk
