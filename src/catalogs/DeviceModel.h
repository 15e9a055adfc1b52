// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model table's description of a device: model name, feature flags,
// protocol list and the protocol chosen from it.
//
// SelectDeviceModel looks up the model type (the model code the device reports)
// and the variant (the settings version of its image) and returns everything
// the editor, the viewers and the renderer read about the model. The result is
// plain data; build it again whenever the model code, the settings version or
// the stored protocol index may have changed.
//
//     DeviceModel device = SelectDeviceModel(tmk);     // or
//     SelectDeviceModel(type, index, variant) device.ModelName // "" for
//     unnamed rows and unknown types device.Flags.NoVoice ... // FeatureFlags.h
//     device.ProtocolList                              // may be empty
//     const TProtBase *p = CurrentProtocol(device);    // nullptr = no current
//     protocol setCurrentProtocol(device, comboIndex);          // the editor
//     re-points it
//
// protocolControls(device) (ProtocolControls.h) tells which protocol-dependent
// controls show. The measured-parameter catalog (MeasPars.h) and the hot-menu
// catalog (MenuItems.h) are built from device.Flags right after this lookup.

#include "catalogs/FeatureFlags.h"
#include "catalogs/ProtocolControls.h"
#include "catalogs/Prots.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace mk {

struct DeviceModel {
  quint16 ModelType = 0;
  quint8 Variant = 0;
  QString ModelName;
  FeatureFlags Flags;
  std::vector<TProtBase> ProtocolList;
  // Index of the current protocol in ProtocolList; any index outside it means
  // none.
  int ProtocolIndex = -1;
};

// The entry at the selected index, or nullptr when there is none.
const TProtBase *CurrentProtocol(const DeviceModel &device);
TProtBase *CurrentProtocol(DeviceModel &device);
// Index of CurrentProtocol() in ProtocolList, or -1.
int currentProtocolIndex(const DeviceModel &device);
// Re-points CurrentProtocol(); an index outside the list leaves no current
// protocol. Returns whether a protocol is now current.
bool setCurrentProtocol(DeviceModel &device, int index);

// True when the current protocol polls the additional system by default (false
// without one).
bool IsProtocolSystem(const DeviceModel &device, quint8 systemCode);
// True when ProtocolList holds a protocol with this code.
bool hasProtocol(const DeviceModel &device, quint8 code);

// Looks up the model table (rows marked "any" match every variant) and builds
// the protocol list. The protocol index and the variant must each be below 256
// (RangeError otherwise), as the device stores them in a byte.
DeviceModel SelectDeviceModel(quint16 modelType, quint32 protocolIndex,
                              quint32 variant);

// Items of the protocol-selection method list cbProtocolSelectMeth: "Авт."
// first, "Руч." last.
QStringList ProtocolSelectMethods(const DeviceModel &device);

} // namespace mk
