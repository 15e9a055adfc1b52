// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manual choice of the port and of the baud rate, behind the access check. The dialogs
// themselves are the caller's; these functions hold what happens around them.

#include <QList>
#include <QString>
#include <optional>

namespace mk {

// What the two dialogs and the refused rate say, word for word.
inline const QString kPortDialogCaptionText = QStringLiteral("Выбор номера порта");
inline const QString kPortDialogLabelText = QStringLiteral("Выберите последовательный порт");
inline const QString kBaudDialogCaptionText = QStringLiteral("Выбор скорости обмена СОМ-порта");
inline const QString kBaudDialogLabelText = QStringLiteral("Скорость обмена, бод");
inline const QString kBaudRefusedText = QStringLiteral("RS232. Не могу установить нужную скорость обмена.");

class AccessGuard;
class PasswordPrompt;
class SerialPort;

struct PortChoiceItem
{
    int number;
    QString text; // "COM3", with the node beside it on Linux
};
class PortChooser
{
public:
    virtual ~PortChooser() = default;
    // Shows the items with the preselected one (-1: none); the chosen index, or nothing on Cancel.
    virtual std::optional<int> choosePort(const QList<PortChoiceItem> &items, int preselected) = 0;
};
// Returns false when the access check refused. Throws Error "Нет свободного COM-порта!" when
// no port is present. Otherwise PortNumber becomes the chosen port (unchanged on Cancel) and
// the port is opened to check it; the caller closes it again.
bool SelectPortDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, PortChooser &chooser);
// The list the dialog shows and the item preselected in it: ports the device's stable name
// leads to first.
QList<PortChoiceItem> portChoiceItems(const SerialPort &port, int *preselected);

class BaudChooser
{
public:
    virtual ~BaudChooser() = default;
    // Shows the current rate (110..921600 in steps of 10); the rate entered, or nothing on Cancel.
    virtual std::optional<quint32> chooseBaud(quint32 current) = 0;
};
// Returns false when the access check refused or the user cancelled. A rate the driver does
// not take puts the old one back and throws Error "RS232. Не могу установить нужную скорость обмена.".
bool SelectBaudDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, BaudChooser &chooser);

} // namespace mk
