// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessCheck.h"
#include "app/CommandLine.h"
#include "app/DemoDevice.h"
#include "app/SerialDeviceLink.h"
#include "link/PortBackend.h"

namespace mk {

std::unique_ptr<DeviceLink> makeDeviceLink(const CommandLine &options)
{
    if (options.demo)
        return std::make_unique<SerialDeviceLink>(std::make_unique<DemoDevice>(options.demoModel, options.demoVersion));
    return std::make_unique<SerialDeviceLink>(systemPortBackend(), systemDeviceSearchSource(), programAccess());
}

} // namespace mk
