// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device model a settings image belongs to.

#include "catalogs/DeviceModel.h"

namespace mk {

class TMK;

// The model of a loaded image: its model code, stored protocol index and settings version.
DeviceModel SelectDeviceModel(const TMK &model);
// Throws Error with the text the viewer shows when the image's model keeps no oscilloscope record.
void requireOscilloscope(const TMK &model);

} // namespace mk
