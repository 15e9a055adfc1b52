// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every setting's caption, value, visibility and checks depend on, built once per model and
// shared by whoever works on it (the editor's session, mktool, profiles): the device model with its
// current protocol, the measured-parameter and hot-menu catalogs of its flags, the field table's
// view of them and the additional systems it lists. Choosing another protocol rebuilds what
// depends on it here, in one place.
//
//     EditSession session(model);             // the editor, mktool set, profile import
//     SettingsContext &ctx = session.context();
//     ctx.chooseProtocol(model, 3);           // the sub-types, the fuel source list, fields() follow

#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"
#include "catalogs/MenuItems.h"
#include "settings/AddSystems.h"
#include "settings/FieldTable.h"

#include <vector>

namespace mk {

class TMK;

class SettingsContext
{
public:
    // As the editor opens on the model; RangeError when its protocol index or settings version
    // is above 255.
    explicit SettingsContext(const TMK &model);
    // For reports on any file: without a model-table row, the plain context (no protocol).
    static SettingsContext lenient(const TMK &model);

    const DeviceModel &device() const { return m_device; }
    const MeasParCatalog &measPars() const { return m_measPars; }
    const MenuItemCatalog &menuItems() const { return m_menuItems; }
    const FieldContext &fields() const { return m_fields; }
    const std::vector<AddSystem> &systems() const { return m_systems; }

    // Chooses protocol `index` of the model's list as the protocol page does: a new index is stored
    // (with the previous-protocol copy and the sub-types reset), and when the fuel-level source list
    // becomes shorter its first item is stored; then what depends on the protocol follows. Returns
    // whether the protocol changed; throws RangeError for an index the field cannot hold.
    bool chooseProtocol(TMK &model, int index);
    // The records were replaced as a whole (undo, redo, a reset): the current protocol follows the
    // stored index. Returns whether it changed.
    bool followProtocol(const TMK &model);

private:
    SettingsContext() = default;
    void refresh();

    DeviceModel m_device;
    MeasParCatalog m_measPars;
    MenuItemCatalog m_menuItems;
    FieldContext m_fields;
    std::vector<AddSystem> m_systems;
};

} // namespace mk
