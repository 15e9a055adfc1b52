// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field table's view of a device model: its feature flags, its current protocol and the item
// lists they decide.

#include "settings/FieldTable.h"

namespace mk {

struct DeviceModel;
class MeasParCatalog;

// The x1 box captions are the names of the current protocol's measured parameters, in its order
// (a code the catalog lacks gives an empty name).
FieldContext fieldContext(const DeviceModel &device, const MeasParCatalog &measPars);

} // namespace mk
