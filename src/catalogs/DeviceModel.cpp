// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/DeviceModel.h"

#include "base/Error.h"
#include "catalogs/CatalogTables.h"
#include "catalogs/CatalogTexts.h"

#include <algorithm>
#include <utility>

namespace mk {

namespace {

using catalog_data::ProtocolDef;
using catalog_data::ProtocolVariant;

// Model type whose protocol code 63 is "Bosch" ("Tiggo" everywhere else).
constexpr quint16 kBoschModelType = 0x0C01;

constexpr quint8 kObd2Alt = 102; // "OBD2E", the alternative engine set
constexpr quint8 kObd2First = 103, kObd2Last = 105; // "OBD2Q", "OBD2S", "OBD2P"
constexpr quint8 kVagFirst = 82, kVagLast = 96; // "VAG 1".."VAG 14", "VAG CE"
constexpr quint8 kOpelFirst = 121, kOpelLast = 128;
// The lamp-control measured parameter added to every protocol of models that
// switch the lamps.
constexpr quint8 kLightsParamCode = 34;

bool inRange(quint8 code, quint8 first, quint8 last) {
  return code >= first && code <= last;
}

bool variantApplies(ProtocolVariant v, const FeatureFlags &flags,
                    quint16 modelType) {
  switch (v) {
  case ProtocolVariant::Always:
    return true;
  case ProtocolVariant::WithExtendedSystems:
    return flags.ExtendedSystems;
  case ProtocolVariant::WithoutExtendedSystems:
    return !flags.ExtendedSystems;
  case ProtocolVariant::ModelType3073:
    return modelType == kBoschModelType;
  case ProtocolVariant::OtherModelTypes:
    return modelType != kBoschModelType;
  }
  return false;
}

// Availability of a protocol code on a model: the model's row lists it, and the
// groups that depend on feature flags agree.
bool groupAllows(quint8 code, const FeatureFlags &flags) {
  if (code == kObd2Alt)
    return flags.AltEngineSet;
  if (inRange(code, kObd2First, kObd2Last))
    return !flags.AltEngineSet;
  if (inRange(code, kVagFirst, kVagLast))
    return !flags.NoVagAuto;
  return true;
}

TProtBase makeProtocol(const ProtocolDef &d) {
  TProtBase p(QString::fromUtf8(d.name), quint8(d.code), d.errorCodeFormat,
              d.extraParams, d.systems);
  p.EcuTankChannels = d.ecuTankChannels;
  for (bool TProtBase::*f : d.setFlags)
    p.*f = true;
  for (bool TProtBase::*f : d.clearedFlags)
    p.*f = false;
  for (const catalog_data::SelectorDef &s : d.selectors) {
    QStringList items;
    for (const char *item : s.items)
      items << QString::fromUtf8(item);
    p.setSelector(s.index, QString::fromUtf8(s.caption), items);
  }
  return p;
}

const catalog_data::ModelRow *findRow(quint16 modelType, int variant) {
  for (const catalog_data::ModelRow &r : catalog_data::modelRows())
    if (r.modelType == modelType && variant >= r.firstVariant &&
        variant <= r.lastVariant)
      return &r;
  return nullptr;
}

// Groups the automatic protocol search may choose among.
bool offersObd2Group(
    const DeviceModel &device) // "OBD2E" or "OBD2Q"/"OBD2S"/"OBD2P"
{
  return std::any_of(device.ProtocolList.begin(), device.ProtocolList.end(),
                     [](const TProtBase &p) {
                       return p.Code == kObd2Alt ||
                              inRange(p.Code, kObd2First, kObd2Last);
                     });
}

bool offersVagGroup(const DeviceModel &device) // "VAG 1".."VAG 14", "VAG CE"
{
  return std::any_of(
      device.ProtocolList.begin(), device.ProtocolList.end(),
      [](const TProtBase &p) { return inRange(p.Code, kVagFirst, kVagLast); });
}

bool offersOpelGroup(const DeviceModel &device) // "Opel 1".."Opel 8"
{
  return std::any_of(device.ProtocolList.begin(), device.ProtocolList.end(),
                     [](const TProtBase &p) {
                       return inRange(p.Code, kOpelFirst, kOpelLast);
                     });
}

} // namespace

const TProtBase *CurrentProtocol(const DeviceModel &device) {
  const int i = device.ProtocolIndex;
  if (i < 0 || size_t(i) >= device.ProtocolList.size())
    return nullptr;
  return &device.ProtocolList[size_t(i)];
}

TProtBase *CurrentProtocol(DeviceModel &device) {
  return const_cast<TProtBase *>(CurrentProtocol(std::as_const(device)));
}

int currentProtocolIndex(const DeviceModel &device) {
  return CurrentProtocol(device) ? device.ProtocolIndex : -1;
}

bool setCurrentProtocol(DeviceModel &device, int index) {
  device.ProtocolIndex =
      index >= 0 && size_t(index) < device.ProtocolList.size() ? index : -1;
  return device.ProtocolIndex >= 0;
}

bool IsProtocolSystem(const DeviceModel &device, quint8 systemCode) {
  const TProtBase *p = CurrentProtocol(device);
  return p && p->IsProtocolSystem(systemCode);
}

bool hasProtocol(const DeviceModel &device, quint8 code) {
  return std::any_of(device.ProtocolList.begin(), device.ProtocolList.end(),
                     [code](const TProtBase &p) { return p.Code == code; });
}

DeviceModel SelectDeviceModel(quint16 modelType, quint32 protocolIndex,
                              quint32 variant) {
  // Both travel in a byte of the lookup; a larger value is a range error, as on
  // the device.
  if (protocolIndex > 255)
    throw RangeError(QStringLiteral("номер протокола"), protocolIndex, 0, 255);
  if (variant > 255)
    throw RangeError(QStringLiteral("версия настроек"), variant, 0, 255);

  DeviceModel device;
  device.ModelType = modelType;
  device.Variant = quint8(variant);
  const catalog_data::ModelRow *row = findRow(modelType, int(variant));
  if (!row)
    return device;

  device.ModelName = QString::fromUtf8(row->name);
  for (bool FeatureFlags::*f : row->flags)
    device.Flags.*f = true;

  const FeatureFlags &flags = device.Flags;
  const std::vector<quint8> &offered = row->protocolCodes;
  for (const ProtocolDef &d : catalog_data::protocolDefinitions()) {
    const auto code = quint8(d.code);
    if (std::find(offered.begin(), offered.end(), code) == offered.end())
      continue;
    if (!variantApplies(d.variant, flags, modelType) ||
        !groupAllows(code, flags))
      continue;
    device.ProtocolList.push_back(makeProtocol(d));
  }

  setCurrentProtocol(device, int(protocolIndex));

  if (!flags.NoAirTempInput && flags.LightsControl)
    for (TProtBase &p : device.ProtocolList)
      p.AddParam(kLightsParamCode);
  return device;
}

QStringList ProtocolSelectMethods(const DeviceModel &device) {
  using namespace catalog_text;
  QStringList list{QString::fromUtf8(kMethodAuto)};
  if (offersObd2Group(device))
    list << QString::fromUtf8(kMethodAutoObd);
  if (offersVagGroup(device) && !device.Flags.NoVagAuto)
    list << QString::fromUtf8(kMethodAutoVag);
  if (offersOpelGroup(device))
    list << QString::fromUtf8(kMethodAutoOpel);
  list << QString::fromUtf8(kMethodManual);
  return list;
}

} // namespace mk
