// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/ProtocolControls.h"

#include "catalogs/DeviceModel.h"

namespace mk {

namespace {

// Protocol codes with controls of their own: "CAN", "J1939" and "VAG 1".
constexpr quint8 kCodeCan = 1;
constexpr quint8 kCodeJ1939 = 14;
constexpr quint8 kCodeVagSoot = 82;

// The fan switch-on temperature of a hybrid is that of its inverter.
constexpr int kHybridVentTempMin = 25;
constexpr int kHybridVentTempMax = 60;

} // namespace

ProtocolControls protocolControls(const TProtBase *protocol, const FeatureFlags &f)
{
    ProtocolControls c;
    if (!protocol)
        return c;
    const TProtBase &p = *protocol;
#define MK_PROTOCOL_FACT_RULE(name, member, rule) c.member = (rule);
    MK_PROTOCOL_FACTS(MK_PROTOCOL_FACT_RULE)
#undef MK_PROTOCOL_FACT_RULE
    if (p.Hybrid) {
        c.ventTempMin = kHybridVentTempMin;
        c.ventTempMax = kHybridVentTempMax;
    }
    return c;
}

ProtocolControls protocolControls(const DeviceModel &device)
{
    return protocolControls(CurrentProtocol(device), device.Flags);
}

} // namespace mk
