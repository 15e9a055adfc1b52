#include "model/EditTransaction.h"

#include "model/FieldTable.h"
#include "model/TMK.h"

namespace mk {

namespace {

std::array<Record, kEditedSections> copyRecords(const TMK &model)
{
    std::array<Record, kEditedSections> copy;
    for (int k = 0; k < kEditedSections; ++k)
        copy[size_t(k)] = model.record(k);
    return copy;
}

void putRecords(TMK &model, const std::array<Record, kEditedSections> &records)
{
    for (int k = 0; k < kEditedSections; ++k)
        model.record(k) = records[size_t(k)];
}

// Decodes the edited sections and looks the model up; on a range error the records go back.
DeviceModel decodeAndSelect(TMK &model)
{
    const std::array<Record, kEditedSections> before = copyRecords(model);
    for (int k = 0; k < kEditedSections; ++k)
        model.decodeSection(k);
    try {
        model.checkFeatureKey();
        return SelectDeviceModel(model);
    } catch (...) {
        putRecords(model, before);
        throw;
    }
}

} // namespace

EditSession::EditSession(TMK &model)
    : m_model(model), m_device(decodeAndSelect(model)), m_measPars(m_device.Flags), m_menuItems(m_device.Flags)
{
    m_saved = copyRecords(m_model);
}

void EditSession::commit()
{
    for (int k = 0; k < kEditedSections; ++k)
        m_model.encodeSection(k);
}

void EditSession::rollback()
{
    putRecords(m_model, m_saved);
}

bool chooseProtocol(TMK &model, DeviceModel &device, int index)
{
    const FieldDef &protocol = *findField(QStringLiteral("Protocol"));
    if (loadField(protocol, model, {}).toInt() == index)
        return false;
    const qsizetype tankItemsBefore = TankMethItems(device.CurrentProtocol()).size();
    storeField(protocol, model, index, {});
    device.setCurrentProtocol(index);
    if (TankMethItems(device.CurrentProtocol()).size() < tankItemsBefore)
        storeField(*findField(QStringLiteral("TankMeth")), model, 0, {});
    return true;
}

} // namespace mk
