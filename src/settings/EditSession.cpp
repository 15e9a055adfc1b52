// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/EditSession.h"

#include "image/TMK.h"

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
SettingsContext contextOrRollBack(TMK &model, SectionSnapshot &snapshot)
{
    try {
        model.checkFeatureKey();
        return SettingsContext(model);
    } catch (...) {
        snapshot.rollback();
        throw;
    }
}

} // namespace

EditSession::EditSession(TMK &model)
    : m_model(model), m_snapshot(model, editedSections()), m_context(contextOrRollBack(model, m_snapshot))
{}

void EditSession::commit() { m_snapshot.commit(); }

void EditSession::rollback() { m_snapshot.rollback(); }

} // namespace mk
