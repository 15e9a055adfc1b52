// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialogs of the manual choices of the serial port and of its baud rate.

#include "app/PortChoice.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QSpinBox;

namespace mk {

// "Выбор номера порта": a fixed list of the present ports, one of them preselected.
class TKW_RS232_SetNumDlg : public QDialog
{
    Q_OBJECT
public:
    // preselected: index into items, or -1 for none.
    TKW_RS232_SetNumDlg(const QList<PortChoiceItem> &items, int preselected, QWidget *parent = nullptr);
    // The index of the chosen item, or -1 when none is chosen.
    int chosenIndex() const;

private:
    QComboBox *m_pcb;
};

// "Выбор скорости обмена СОМ-порта": a baud rate from 110 to 921600 in steps of 10.
class TKW_RS232_SetBRDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TKW_RS232_SetBRDlg(int baudRate, QWidget *parent = nullptr);
    int baudRate() const;

private:
    QSpinBox *m_bse;
};

} // namespace mk
