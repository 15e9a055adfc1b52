#include "app/CommandLine.h"
#include "app/DeviceLink.h"

namespace mk {

std::unique_ptr<DeviceLink> makeDeviceLink(const CommandLine &)
{
    return nullptr;
}

} // namespace mk
