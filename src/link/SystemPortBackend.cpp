// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortBackend.h"

#include "link/PortMap.h"
#include "link/SerialPortIo.h"

namespace mk {

bool SystemPortBackend::probe(int number) { return probePortNode(nodeForPort(number)); }

std::unique_ptr<PortIo> SystemPortBackend::open(int number)
{
    return SerialPortIo::open(nodeForPort(number), portLabel(number));
}

QString SystemPortBackend::label(int number) { return portLabel(number); }

QString SystemPortBackend::displayName(int number) { return portDisplayName(number); }

QString SystemPortBackend::deviceLink(int number) { return deviceLinkForPort(number); }

Clock &SystemPortBackend::clock() { return systemLinkClock(); }

std::shared_ptr<PortBackend> systemPortBackend()
{
    static const std::shared_ptr<PortBackend> backend = std::make_shared<SystemPortBackend>();
    return backend;
}

} // namespace mk
