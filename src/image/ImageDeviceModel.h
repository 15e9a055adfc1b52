#pragma once
// The device model a settings image belongs to.

#include "catalogs/DeviceModel.h"

namespace mk {

class TMK;

// The model of a loaded image: its model code, stored protocol index and settings version.
DeviceModel SelectDeviceModel(const TMK &model);

} // namespace mk
