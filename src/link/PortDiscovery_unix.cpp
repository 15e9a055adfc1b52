// SPDX-License-Identifier: GPL-3.0-or-later
// Where automatic search looks on Linux: the serial nodes the system lists, with their USB
// identity and the stable name the udev rule gives the trip computer.

#include "link/PortDiscovery.h"
#include "link/PortMap.h"

#include <QSerialPortInfo>

namespace mk {

QList<SerialNodeInfo> systemSerialNodes()
{
    QList<SerialNodeInfo> nodes;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialNodeInfo n;
        n.node = info.systemLocation();
        if (info.hasVendorIdentifier())
            n.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            n.productId = info.productIdentifier();
        n.description = info.description();
        n.manufacturer = info.manufacturer();
        n.link = deviceLinkForNode(n.node);
        nodes << n;
    }
    return nodes;
}

DeviceSearchSource systemDeviceSearchSource() { return {}; }

} // namespace mk
