// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsContext.h"

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "settings/FieldTableContext.h"

namespace mk {

SettingsContext::SettingsContext(const TMK &model) : m_device(SelectDeviceModel(model))
{
    m_measPars.rebuild(m_device.Flags);
    m_menuItems.BuildMenuItems(m_device.Flags);
    refresh();
}

SettingsContext SettingsContext::lenient(const TMK &model)
{
    try {
        return SettingsContext(model);
    } catch (const Error &) {
        SettingsContext ctx; // no model-table row: plain conversions, no protocol
        ctx.m_systems = buildAddSystemList({});
        return ctx;
    }
}

void SettingsContext::refresh()
{
    m_fields = fieldContext(m_device, m_measPars);
    const TProtBase *protocol = CurrentProtocol(m_device);
    m_systems = buildAddSystemList(
        {hasProtocol(m_device, kCanProtocolCode), m_device.Flags.ExtendedSystems, protocol && protocol->Hybrid});
}

bool SettingsContext::chooseProtocol(TMK &model, int index)
{
    const FieldDef &protocol = fieldDef(FieldId::Protocol);
    if (loadField(protocol, model, {}).toInt() == index)
        return false;
    const qsizetype tankItemsBefore = TankMethItems(CurrentProtocol(m_device)).size();
    storeField(protocol, model, index, {});
    setCurrentProtocol(m_device, index);
    if (TankMethItems(CurrentProtocol(m_device)).size() < tankItemsBefore)
        storeField(fieldDef(FieldId::TankMeth), model, 0, {});
    refresh();
    return true;
}

bool SettingsContext::followProtocol(const TMK &model)
{
    const int stored = loadField(fieldDef(FieldId::Protocol), model, {}).toInt();
    if (currentProtocolIndex(m_device) == stored)
        return false;
    setCurrentProtocol(m_device, stored);
    refresh();
    return true;
}

} // namespace mk
