#include "settings/EditSession.h"

#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"

namespace mk {

namespace {

std::vector<int> editedSections()
{
    std::vector<int> sections;
    for (int k = 0; k < kEditedSections; ++k)
        sections.push_back(k);
    return sections;
}

// Looks the model up on the decoded records; on a range error the records go back.
DeviceModel selectOrRollBack(TMK &model, SectionSnapshot &snapshot)
{
    try {
        model.checkFeatureKey();
        return SelectDeviceModel(model);
    } catch (...) {
        snapshot.rollback();
        throw;
    }
}

} // namespace

EditSession::EditSession(TMK &model)
    : m_model(model),
      m_snapshot(model, editedSections()),
      m_device(selectOrRollBack(model, m_snapshot)),
      m_measPars(m_device.Flags),
      m_menuItems(m_device.Flags)
{}

void EditSession::commit() { m_snapshot.commit(); }

void EditSession::rollback() { m_snapshot.rollback(); }

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
