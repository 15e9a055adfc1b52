// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's work on the model: what opening decodes and looks up, and how OK and Cancel end it.
//
//     EditSession session(model);      // RangeError: nothing changed, do not open the dialog
//     ... the dialog edits model.record(0..10) ...
//     ok ? session.commit() : session.rollback();

#include "image/ImageLayout.h"
#include "image/Record.h"
#include "image/RecordSync.h"
#include "settings/SettingsContext.h"

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
    // records as they were. Then copies records 0..10 aside and builds the settings context (the
    // catalogs for the model) that everything working on this session shares.
    explicit EditSession(TMK &model);

    TMK &model() { return m_model; }
    SettingsContext &context() { return m_context; }
    const SettingsContext &context() const { return m_context; }
    const DeviceModel &device() const { return m_context.device(); }
    const MeasParCatalog &measPars() const { return m_context.measPars(); }
    const MenuItemCatalog &menuItems() const { return m_context.menuItems(); }

    // OK: sections 0..10 go back into the image.
    void commit();
    // Cancel: the records return to what they were when the editor opened; the image is untouched.
    void rollback();

private:
    TMK &m_model;
    SectionSnapshot m_snapshot; // before m_context: the lookup reads the decoded records
    SettingsContext m_context;
};

} // namespace mk
