// SPDX-License-Identifier: GPL-3.0-or-later
// Where automatic search looks on Linux: the serial nodes the system lists, with their USB
// identity and the stable name the udev rule gives the trip computer.

#include "link/PortDiscovery.h"
#include "link/PortMap.h"

namespace mk {

void nameListedNode(SerialNodeInfo &n, const QString &, const QString &systemLocation)
{
    n.node = systemLocation;
    n.link = deviceLinkForNode(n.node);
}

DeviceSearchSource systemDeviceSearchSource() { return {}; }

} // namespace mk
