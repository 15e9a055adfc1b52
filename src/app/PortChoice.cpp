// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortChoice.h"

#include "app/AccessCheck.h"
#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"

namespace mk {

QList<PortChoiceItem> portChoiceItems(const SerialPort &port, int *preselected)
{
    QList<PortChoiceItem> items;
    if (preselected)
        *preselected = -1;
    // The trip computer's own ports (those its stable name leads to) first, then the others,
    // each in number order.
    for (const bool linked : {true, false}) {
        for (int n = 1; n <= kMaxPortNumber; ++n) {
            if (!port.PortPresent(n) || port.deviceLink(n).isEmpty() != !linked)
                continue;
            if (preselected && n == port.PortNumber())
                *preselected = int(items.size());
            items << PortChoiceItem{n, port.displayName(n)};
        }
    }
    return items;
}

bool SelectPortDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, PortChooser &chooser)
{
    if (!access.CheckAccess(prompt))
        return false;
    port.ClosePort();
    if (port.ScanPorts() == 0)
        throw Error(kNoFreePortText);
    int preselected = -1;
    const QList<PortChoiceItem> items = portChoiceItems(port, &preselected);
    int chosen = port.PortNumber();
    if (const std::optional<int> index = chooser.choosePort(items, preselected);
        index && *index >= 0 && *index < items.size())
        chosen = items[*index].number;
    port.ClosePort();
    port.OpenPort(chosen);
    return true;
}

bool SelectBaudDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, BaudChooser &chooser)
{
    if (!access.CheckAccess(prompt))
        return false;
    const std::optional<quint32> rate = chooser.chooseBaud(port.BaudRate());
    if (!rate)
        return false;
    const quint32 old = port.BaudRate();
    port.SetBaudRate(*rate);
    if (port.BaudRate() != *rate) {
        port.SetBaudRate(old);
        throw Error(kBaudRefusedText);
    }
    return true;
}

} // namespace mk
