// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Facts of the current protocol that show or hide the editor's protocol-dependent controls.
//
// protocolControls() derives them from the current TProtBase and the model's feature flags; the
// field table's context holds the result, and its rows name each fact as a Flag (FieldTable.h).
//
//     const ProtocolControls c = protocolControls(device);   // all false without a protocol
//     if (c.retarder) ...

#include <QtGlobal>

// Every fact, one line each: X(Flag enumerator, member, how it follows from the current protocol
// `p` and the model's feature flags `f`; the protocol codes kCode... are in ProtocolControls.cpp).
// A line here gives ProtocolControls its member, the field table's Flag its enumerator and
// protocolControls() its rule.
#define MK_PROTOCOL_FACTS(X)                                                                                           \
    X(CoolantAlarms, coolantAlarms, p.CoolantAlarms)                 /* coolant limits, alarms */                      \
    X(ErrorAlarm, errorAlarm, p.ErrorAlarm)                          /* the fault alarm */                             \
    X(GearboxOilTemp, gearboxOilTemp, p.GearboxOilTemp)              /* gearbox oil temperature */                     \
    X(EngineOilTemp, engineOilTemp, p.EngineOilTemp)                 /* engine oil temperature */                      \
    X(FanControl, fanControl, p.FanControl || p.Hybrid)              /* fan switch-on temperature */                   \
    X(SideLights, sideLights, p.SideLights)                          /* rgGabarType */                                 \
    X(BatterySource, batterySource, p.BatterySource)                 /* rgUaccMeth */                                  \
    X(Hybrid, hybrid, p.Hybrid)                                      /* inverter and HV battery */                     \
    X(Retarder, retarder, p.Code == kCodeJ1939 && f.ExtendedSystems) /* retarder oil temperature */                    \
    X(CvtWearLimit, cvtWearLimit, p.Code == kCodeCan)                /* seCVTFDeteriorLim */                           \
    X(CvtWearAlarm, cvtWearAlarm, p.Code == kCodeCan || (p.Code == kCodeJ1939 && f.ExtendedSystems))                   \
    X(SootFilter, sootFilterLimit, p.Code == kCodeVagSoot) /* seVAGSFilterLimit */

namespace mk {

class TProtBase;
struct DeviceModel;
struct FeatureFlags;

struct ProtocolControls
{
#define MK_PROTOCOL_FACT_MEMBER(name, member, rule) bool member = false;
    MK_PROTOCOL_FACTS(MK_PROTOCOL_FACT_MEMBER)
#undef MK_PROTOCOL_FACT_MEMBER
    int ventTempMin = 75; // range of seVentTempLimit
    int ventTempMax = 115;
};

// The facts of `protocol` on a model with these flags; all false for nullptr.
ProtocolControls protocolControls(const TProtBase *protocol, const FeatureFlags &flags);
// The facts of the model's current protocol.
ProtocolControls protocolControls(const DeviceModel &device);

} // namespace mk
