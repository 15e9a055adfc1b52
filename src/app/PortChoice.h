// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The manual choice of the port and of the baud rate, behind the access check. The dialogs
// themselves are the caller's; these functions hold what happens around them.

#include "link/PortDiscovery.h"

#include <QList>
#include <QString>
#include <functional>
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
    int number;   // 0: a node with no number of its own (see node)
    QString text; // "COM3", with the node beside it on Linux, and the USB device's name
    QString node = {};
};
// What the user chose: a row of the list, or what was typed (a number, "COMn", or on Linux the
// path of a node).
struct PortAnswer
{
    int index = -1;
    QString typed = {};
};
// The list again, after the ports were looked at afresh ("Обновить").
using PortListRefresh = std::function<QList<PortChoiceItem>(int *preselected)>;
class PortChooser
{
public:
    virtual ~PortChooser() = default;
    // Shows the items with the preselected one (-1: none); the choice, or nothing on Cancel.
    virtual std::optional<PortAnswer> choosePort(const QList<PortChoiceItem> &items, int preselected,
                                                 const PortListRefresh &refresh) = 0;
};
// Returns false when the access check refused. The dialog opens also when no port is present, so
// that one can be typed; OK with none listed and none typed throws Error "Нет свободного
// COM-порта!". Otherwise PortNumber becomes the chosen port (unchanged on Cancel) and
// the port is opened to check it; the caller closes it again. A typed port that is out of
// range or not present throws Error naming it. `serialNodes` gives the system's serial nodes
// (their USB names, and the nodes that have no number); none when not given.
bool SelectPortDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, PortChooser &chooser,
                      const std::function<QList<SerialNodeInfo>()> &serialNodes = {});
// The list the dialog shows and the item preselected in it: ports the device's stable name
// leads to first, then the other numbered ports, then the system's serial nodes that have no
// number; a port the system knows a USB device for carries its name.
QList<PortChoiceItem> portChoiceItems(const SerialPort &port, int *preselected,
                                      const QList<SerialNodeInfo> &nodes = {});
// The port number for what the user typed: a number, "COMn" or "\\.\COMn" in 1..256 (any case),
// or (where ports are nodes with paths) the path of a present node. Throws Error saying what is
// wrong.
int typedPortChoice(const QString &typed);

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
