// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding a setting by what the user remembers of it: a word of its caption, its name as mktool
// knows it, or the value it shows. Every page counts, the special pages too; settings this model
// hides are never offered.

#include <QString>
#include <vector>

class QWidget;

namespace mk {

class TMK;
class SettingsContext;
struct NamedSetting;

struct SearchHit
{
    const NamedSetting *setting = nullptr;
    QString page;         // caption of the page that holds it
    QString caption;      // its caption, or its name when it has none
    QString value;        // the value it shows
    bool byValue = false; // found by its value only
};

// Settings whose caption, name or shown value contains `text` (case does not count), in page
// order, at most `limit`. An empty text finds nothing.
std::vector<SearchHit> searchSettings(const QString &text, const TMK &model, const SettingsContext &ctx,
                                      int limit = 60);

// "ТО — Окончание ОСАГО", with the value when only the value matched.
QString hitText(const SearchHit &hit);

// The widget under `root` that shows the setting, and the row of a grid that holds it (-1: none).
QWidget *settingWidget(QWidget *root, const NamedSetting &s, int *row = nullptr);

} // namespace mk
