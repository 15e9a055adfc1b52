#include "settings/FieldTableContext.h"

#include "image/ImageDeviceModel.h"
#include "catalogs/MeasPars.h"

namespace mk {

FieldContext fieldContext(const DeviceModel &device, const MeasParCatalog &measPars)
{
    FieldContext ctx;
    const FeatureFlags &f = device.Flags;
    ctx.noParkType = f.NoParkType;
    ctx.noVoice = f.NoVoice;
    ctx.noAirTempInput = f.NoAirTempInput;
    ctx.lightsControl = f.LightsControl;
    ctx.noDSSwitch = f.NoDSSwitch;
    ctx.secondTank = f.SecondTank;
    ctx.universalInput = f.UniversalInput;
    ctx.noParking = f.NoParking;
    ctx.noGas = f.NoGas;
    ctx.extendedSystems = f.ExtendedSystems;
    ctx.supply24V = f.Supply24V;
    ctx.addSystems = f.AddSystems;
    ctx.taximeter = f.Taximeter;
    ctx.serviceInThousands = f.ServiceInThousands;

    for (const TProtBase &p : device.ProtocolList)
        ctx.protocolNames << p.Name;
    ctx.selectMethods = ProtocolSelectMethods(device);
    const TProtBase *p = device.CurrentProtocol();
    ctx.tankMethItems = TankMethItems(p);
    if (!p)
        return ctx;
    ctx.hasProtocol = true;
    ctx.protocolCode = p->Code;
    ctx.coolantAlarms = p->CoolantAlarms;
    ctx.errorAlarm = p->ErrorAlarm;
    ctx.gearboxOilTemp = p->GearboxOilTemp;
    ctx.engineOilTemp = p->EngineOilTemp;
    ctx.fanControl = p->FanControl;
    ctx.sideLights = p->SideLights;
    ctx.batterySource = p->BatterySource;
    ctx.hybrid = p->Hybrid;
    for (int s = 0; s < kSubTypeSelectorCount; ++s)
        ctx.subTypeItems[size_t(s)] = p->offeredItems(s);
    for (quint8 code : p->ParamCodes) {
        const TMeasParBase *par = measPars.FindMeasPar(code);
        ctx.x1Names << (par ? par->Name : QString());
    }
    return ctx;
}

FieldContext fieldContext(const TMK &model)
{
    const DeviceModel device = SelectDeviceModel(model);
    return fieldContext(device, MeasParCatalog(device.Flags));
}

} // namespace mk
