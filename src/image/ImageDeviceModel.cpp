#include "image/ImageDeviceModel.h"

#include "image/TMK.h"

namespace mk {

DeviceModel SelectDeviceModel(const TMK &model)
{
    return SelectDeviceModel(model.modelCode(), model.protocolId(), model.settingsVersion());
}

} // namespace mk
