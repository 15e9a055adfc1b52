// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortChoice.h"

#include "app/AccessCheck.h"
#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"

#include <QFileInfo>

namespace mk {

namespace {

QString canonicalNode(const QString &node)
{
    const QString c = QFileInfo(node).canonicalFilePath();
    return c.isEmpty() ? node : c;
}

// The USB device's own name for a node ("МК-USB (Maker)"), or empty.
QString usbName(const SerialNodeInfo &info)
{
    if (info.description.isEmpty() || info.description == info.manufacturer)
        return info.manufacturer;
    if (info.manufacturer.isEmpty())
        return info.description;
    return QStringLiteral("%1 (%2)").arg(info.description, info.manufacturer);
}

} // namespace

int typedPortChoice(const QString &typed)
{
    const QString text = typed.trimmed();
    if (const std::optional<int> n = typedPortNumber(text)) {
        if (*n < 1 || *n > kMaxPortNumber)
            throw Error(QStringLiteral("Номер порта должен быть от 1 до %1: %2").arg(kMaxPortNumber).arg(text));
        return *n;
    }
    // Where the system's ports are nodes with paths (Linux), a path names one.
    const bool paths = systemPortNode(1).startsWith(QLatin1Char('/'));
    if (!paths || !text.startsWith(QLatin1Char('/')))
        throw Error(paths ? QStringLiteral("Укажите номер порта (COM5) или путь к нему (/dev/ttyUSB3): %1").arg(text)
                          : QStringLiteral("Укажите номер порта (COM5): %1").arg(text));
    if (!probePortNode(text))
        throw Error(QStringLiteral("Порт %1 не найден.").arg(text));
    const int n = assignPortForNode(text);
    if (n == 0)
        throw Error(QStringLiteral("Порт %1 не найден.").arg(text));
    return n;
}

QList<PortChoiceItem> portChoiceItems(const SerialPort &port, int *preselected, const QList<SerialNodeInfo> &nodes)
{
    QList<PortChoiceItem> items;
    if (preselected)
        *preselected = -1;
    QList<QString> numbered; // the nodes the numbered rows stand for
    const auto infoFor = [&nodes](const QString &node) -> const SerialNodeInfo * {
        const QString wanted = canonicalNode(node);
        for (const SerialNodeInfo &info : nodes)
            if (canonicalNode(info.node) == wanted)
                return &info;
        return nullptr;
    };
    // The trip computer's own ports (those its stable name leads to) first, then the others,
    // each in number order.
    for (const bool linked : {true, false}) {
        for (int n = 1; n <= kMaxPortNumber; ++n) {
            if (!port.PortPresent(n) || port.deviceLink(n).isEmpty() != !linked)
                continue;
            if (preselected && n == port.PortNumber())
                *preselected = int(items.size());
            QString text = port.displayName(n);
            if (!nodes.isEmpty()) {
                const QString node = nodeForPort(n);
                numbered << canonicalNode(node);
                if (const SerialNodeInfo *info = infoFor(node); info && !usbName(*info).isEmpty())
                    text += QStringLiteral(" — ") + usbName(*info);
            }
            items << PortChoiceItem{n, text};
        }
    }
    // Then the serial nodes the system lists that no number stands for.
    for (const SerialNodeInfo &info : nodes) {
        if (numbered.contains(canonicalNode(info.node)) || !probePortNode(info.node))
            continue;
        const QString name = usbName(info);
        items << PortChoiceItem{0, name.isEmpty() ? info.node : QStringLiteral("%1 — %2").arg(info.node, name),
                                info.node};
    }
    return items;
}

bool SelectPortDialog(SerialPort &port, AccessGuard &access, PasswordPrompt &prompt, PortChooser &chooser,
                      const std::function<QList<SerialNodeInfo>()> &serialNodes)
{
    if (!access.CheckAccess(prompt))
        return false;
    port.ClosePort();
    const auto nodes = [&serialNodes] { return serialNodes ? serialNodes() : QList<SerialNodeInfo>(); };
    QList<SerialNodeInfo> listed = nodes();
    // With no port present the dialog still opens: a port can be typed (a node that appears
    // under a name of its own, a pseudo-terminal, a COM port the list cannot see).
    port.ScanPorts();
    int preselected = -1;
    QList<PortChoiceItem> items = portChoiceItems(port, &preselected, listed);
    const PortListRefresh refresh = [&](int *pre) {
        port.ScanPorts();
        listed = nodes();
        items = portChoiceItems(port, pre, listed);
        return items;
    };
    int chosen = port.PortNumber();
    const std::optional<PortAnswer> answer = chooser.choosePort(items, preselected, refresh);
    if (!answer && items.isEmpty())
        return true; // cancelled with no port to check
    if (answer) {
        if (answer->index >= 0 && answer->index < items.size()) {
            const PortChoiceItem &item = items[answer->index];
            chosen = item.number != 0 ? item.number : typedPortChoice(item.node);
        } else if (!answer->typed.trimmed().isEmpty()) {
            chosen = typedPortChoice(answer->typed);
        } else if (items.isEmpty()) {
            throw Error(ErrorKind::DeviceMissing, kNoFreePortText); // nothing listed, nothing typed
        }
    }
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
        throw Error(ErrorKind::BadValue, kBaudRefusedText);
    }
    return true;
}

} // namespace mk
