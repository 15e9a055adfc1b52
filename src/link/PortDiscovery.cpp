// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortDiscovery.h"

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace mk {

QList<SerialNodeInfo> systemSerialNodes()
{
    QList<SerialNodeInfo> nodes;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialNodeInfo n;
        nameListedNode(n, info.portName(), info.systemLocation());
        if (info.hasVendorIdentifier())
            n.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            n.productId = info.productIdentifier();
        n.description = info.description();
        n.manufacturer = info.manufacturer();
        nodes << n;
    }
    return nodes;
}

bool isTripComputerNode(const SerialNodeInfo &node)
{
    return node.vendorId == kDeviceUsbVendor && node.productId == kDeviceUsbProduct &&
           (node.description.contains(kDeviceMarker) || node.manufacturer.contains(kDeviceMarker));
}

int portFromSerialNodes(const QList<SerialNodeInfo> &nodes)
{
    QList<SerialNodeInfo> ordered = nodes;
    std::stable_partition(ordered.begin(), ordered.end(), [](const SerialNodeInfo &n) { return !n.link.isEmpty(); });
    for (const SerialNodeInfo &n : ordered) {
        if (!isTripComputerNode(n))
            continue;
        if (const int number = assignPortForNode(n.link.isEmpty() ? n.node : n.link))
            return number;
    }
    return 0;
}

int portFromRegistryNames(const QList<QPair<QString, QString>> &instances, const std::function<bool(int)> &present)
{
    for (const auto &[instance, friendlyName] : instances) {
        Q_UNUSED(instance);
        if (!friendlyName.contains(kDeviceMarker))
            continue;
        const qsizetype com = friendlyName.indexOf(QLatin1String("COM"));
        if (com < 0)
            continue;
        // Every digit counts ("COM123" is port 123); a number no port can have names none.
        int n = 0;
        for (qsizetype i = com + 3; i < friendlyName.size() && friendlyName[i].isDigit() && n <= kMaxPortNumber; ++i)
            n = n * 10 + friendlyName[i].digitValue();
        if (n < 1 || n > kMaxPortNumber)
            continue;
        if (present(n))
            return n;
    }
    return 0;
}

void FindDevicePort(SerialPort &port, bool autoSearch, const DeviceSearchSource &source)
{
    if (!autoSearch)
        return;
    // The nodes first: a node outside the fixed table gets its number before the scan.
    const QList<SerialNodeInfo> nodes = source.serialNodes ? source.serialNodes() : QList<SerialNodeInfo>();
    const int fromNodes = portFromSerialNodes(nodes);
    port.ScanPorts();
    const auto opens = [&port](int n) {
        if (!port.PortPresent(n))
            return false;
        port.OpenPort(n);
        port.SetBaudRate(kLinkBaudRate);
        const bool found = port.PortNumber() == n;
        // The exchange opens the port again on its own thread.
        port.ClosePort();
        return found;
    };
    if (source.registryInstances && portFromRegistryNames(source.registryInstances(), opens) != 0)
        return;
    if (fromNodes != 0 && opens(fromNodes))
        return;
    throw Error(ErrorKind::DeviceMissing, kDeviceNotSeenText);
}

} // namespace mk
