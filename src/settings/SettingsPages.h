// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's pages as data: caption, tab sheet, the page that holds it and when the model shows
// it. The editor hides its tab sheets by this table, and what the settings layer accepts follows
// the same rows, so a page hidden in the editor is never edited through mktool or a profile.

#include "settings/FieldTable.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace mk {

class TMK;

// The caption of the page that holds it is empty at the top level. A page name matches its
// caption, its tab name or, for a top page, its inner pages.
struct SettingsPage
{
    QString caption;
    QString tab;
    QString parent;
    Condition shown = when(Flag::Always); // feature flags only: a page follows the model
};
const std::vector<SettingsPage> &settingsPages();
// nullptr for a name that is neither a page's caption nor its tab name.
const SettingsPage *findSettingsPage(const QString &captionOrTab);
// Whether a setting's page is one of `names` (captions or tab names); Error for an unknown name.
bool pageSelected(const QString &page, const QStringList &names);

// The page (itself or a page holding it) that the model does not show; nullptr when it and every
// page above it are shown, or for a caption no page has.
const SettingsPage *hiddenPage(const QString &page, const FieldContext &ctx, const TMK &model);

} // namespace mk
