#pragma once
// The editor's work on the model: what opening decodes and looks up, and how OK and Cancel end it.
//
//     EditSession session(model);      // RangeError: nothing changed, do not open the dialog
//     ... the dialog edits model.record(0..10) ...
//     ok ? session.commit() : session.rollback();

#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"
#include "catalogs/MenuItems.h"
#include "image/ImageLayout.h"
#include "image/Record.h"
#include "image/RecordSync.h"

#include <array>

namespace mk {

class TMK;

// The sections the editor edits.
constexpr int kEditedSections = 11; // 0..10

class EditSession
{
public:
    // Decodes sections 0..10 and looks the device model up with the model code, the stored protocol
    // index and the settings version. An index or version above 255 throws RangeError and leaves the
    // records as they were. Then copies records 0..10 aside and builds the measured-parameter and
    // hot-menu catalogs for the model.
    explicit EditSession(TMK &model);

    TMK &model() { return m_model; }
    DeviceModel &device() { return m_device; }
    const DeviceModel &device() const { return m_device; }
    const MeasParCatalog &measPars() const { return m_measPars; }
    const MenuItemCatalog &menuItems() const { return m_menuItems; }

    // OK: sections 0..10 go back into the image.
    void commit();
    // Cancel: the records return to what they were when the editor opened; the image is untouched.
    void rollback();

private:
    TMK &m_model;
    SectionSnapshot m_snapshot; // before m_device: the lookup reads the decoded records
    DeviceModel m_device;
    MeasParCatalog m_measPars;
    MenuItemCatalog m_menuItems;
};

// Chooses protocol `index` of the model's list, as the protocol page does: a new index is stored
// (with the previous-protocol copy and the sub-types reset), the current protocol follows, and when
// the fuel-level source list becomes shorter its first item is stored. Returns whether the protocol
// changed; throws RangeError for an index the field cannot hold.
bool chooseProtocol(TMK &model, DeviceModel &device, int index);

} // namespace mk
