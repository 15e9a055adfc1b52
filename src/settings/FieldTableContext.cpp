// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FieldTableContext.h"

#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"

namespace mk {

FieldContext fieldContext(const DeviceModel &device, const MeasParCatalog &measPars)
{
    FieldContext ctx;
    ctx.flags = device.Flags;
    ctx.protocol = protocolControls(device);
    for (const TProtBase &p : device.ProtocolList)
        ctx.protocolNames << p.Name;
    ctx.selectMethods = ProtocolSelectMethods(device);
    const TProtBase *p = CurrentProtocol(device);
    ctx.tankMethItems = TankMethItems(p);
    if (!p)
        return ctx;
    for (int s = 0; s < kSubTypeSelectorCount; ++s)
    {
        ctx.subTypeItems[size_t(s)] = p->offeredItems(s);
        ctx.subTypeCaptions[size_t(s)] = p->SubTypeCaption[size_t(s)];
    }
    for (quint8 code : p->ParamCodes) {
        const TMeasParBase *par = measPars.FindMeasPar(code);
        ctx.x1Names << (par ? par->Name : QString());
    }
    return ctx;
}

} // namespace mk
