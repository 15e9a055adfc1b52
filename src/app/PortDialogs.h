#pragma once
// The manual choices of the serial port and of its baud rate.

#include <QDialog>
#include <QList>

class QComboBox;
class QSpinBox;

namespace mk {

struct PortChoice
{
    int number = 0;     // the "COM" number kept in the ini file
    QString deviceNode; // where the port is reached on this system
};

// "Выбор номера порта": a fixed list of the present ports, the current one preselected.
class TKW_RS232_SetNumDlg : public QDialog
{
    Q_OBJECT
public:
    TKW_RS232_SetNumDlg(const QList<PortChoice> &ports, int currentNumber, QWidget *parent = nullptr);
    // The number of the chosen item, or 0 when none is chosen.
    int chosenNumber() const;

private:
    QComboBox *m_pcb;
    QList<PortChoice> m_ports;
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

// "COM3 — /dev/ttyACM0", or just "COM3" when the node is not known.
QString portCaption(const PortChoice &port);

} // namespace mk
