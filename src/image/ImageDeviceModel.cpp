// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ImageDeviceModel.h"

#include "base/Error.h"
#include "image/TMK.h"

namespace mk {

DeviceModel SelectDeviceModel(const TMK &model)
{
    return SelectDeviceModel(model.modelCode(), model.protocolId(), model.settingsVersion());
}

void requireOscilloscope(const TMK &model)
{
    if (!SelectDeviceModel(model).Flags.Oscilloscope)
        throw Error(QStringLiteral("В данной версии МК оцилллограф не поддерживается."));
}

} // namespace mk
