// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's pages as data: id, caption, tab sheet, the page that holds it and when the model
// shows it. The editor makes its tab sheets from this table, and what the settings layer accepts
// follows the same rows, so a page hidden in the editor is never edited through mktool or a
// profile. Code names a page by its PageId, never by its caption or tab name; the words are for
// the user (captions shown, page names typed to mktool or chosen for a profile).

#include "settings/FieldTable.h"
#include "settings/PageId.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace mk {

class TMK;

struct SettingsPage
{
    PageId id;
    QString caption;
    QString tab;                          // the tab sheet's objectName
    std::optional<PageId> parent;         // the page that holds it; none at the top level
    Condition shown = when(Flag::Always); // feature flags only: a page follows the model
};
// Every page, in PageId order (settingsPages()[int(id)].id == id).
const std::vector<SettingsPage> &settingsPages();
const SettingsPage &settingsPage(PageId id);
inline const QString &pageCaption(PageId id) { return settingsPage(id).caption; }
inline const QString &pageTab(PageId id) { return settingsPage(id).tab; }

// A page named by the user (mktool, profiles): its caption or tab name; nullptr for neither.
const SettingsPage *findSettingsPage(const QString &captionOrTab);
// Whether `page` is one of `names` (captions or tab names) or lies inside one; Error for an
// unknown name.
bool pageSelected(PageId page, const QStringList &names);
// Error when a name is no page's caption or tab name.
void checkPageNames(const QStringList &names);

// The page (itself or a page holding it) that the model does not show; nullptr when it and every
// page above it are shown.
const SettingsPage *hiddenPage(PageId page, const FieldContext &ctx, const TMK &model);

} // namespace mk
