// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialogs of the manual choices of the serial port and of its baud rate.

#include "app/PortChoice.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QSpinBox;

namespace mk {

// "Выбор номера порта": the present ports, one of them preselected, "Обновить" to look at the
// ports again; a port's number or (on Linux) its path may be typed instead, also when no port
// is listed at all.
class TKW_RS232_SetNumDlg : public QDialog
{
    Q_OBJECT
public:
    // preselected: index into items, or -1 for none. Without `refresh` there is no "Обновить".
    TKW_RS232_SetNumDlg(const QList<PortChoiceItem> &items, int preselected, QWidget *parent = nullptr,
                        PortListRefresh refresh = {});
    // The index of the chosen item, or -1 when none is chosen or a port was typed.
    int chosenIndex() const;
    // The choice: the row, or the text typed when it is no row of the list.
    PortAnswer answer() const;

private:
    void showItems(const QList<PortChoiceItem> &items, int preselected);

    QComboBox *m_pcb;
    QLabel *m_hint;
    PortListRefresh m_refresh;
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
