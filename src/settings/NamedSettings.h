// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every setting with a name: the simple fields of the field table and the parts of the special
// pages (colour schemes, hot menus, display layouts, additional systems, the tank table), behind
// one interface. dump, set, diff, profiles and the write preview all iterate namedSettings().
//
//     SettingsContext ctx(model);                     // RangeError: the editor would not open
//     for (const NamedSetting &s : namedSettings())
//         if (settingShown(s, model, ctx)) print(s.page, settingCaption(s, ctx), settingText(s, model, ctx));
//     storeSettingText(*findNamedSetting("hmParams.0"), model, "FullTankMenu", ctx); // Error: refused
//
// Names of the special pages (values are the texts settingText gives and storeSettingText takes):
//     ActiveColorScheme, DispVar4, DispVar9            item captions
//     ColorScheme<set>.Palette<0..15>                  "R,G,B", each 0..31 (set 0 preset, 1 user)
//     ColorScheme<set>.<role>                          palette index 0..15
//     hm<List>.<0..9>                                  item identifier, "" for an empty place
//     Digit4_<1..6>.<0..3>, Digit9_<1..3>.<0..8>, Digit7_<1..4>.<0..6>, Digit6_1.<0..5>,
//     Graph_<1..8>.<0..1>, Arrow_<1..8>.<0..1>          measured-parameter caption
//     BlocksShow, BlocksShowList                       item captions
//     Blocks.<system name>                             1 polled, 0 not
//     Tarir.<1..68>                                    "litres,code"
// A code no caption or identifier names is written "#code".

#include "settings/FieldTable.h"
#include "settings/SettingsContext.h"
#include "settings/SettingsPages.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace mk {

class TMK;

struct NamedSetting
{
    QString name;
    PageId page = PageId::Corrections; // its page (the inner page for the display pages)
    const FieldDef *field = nullptr;   // the field-table row of a simple setting
    int section = 0;
    std::vector<FieldByte> bytes; // the bits of record `section` it stores

    std::function<QString(const SettingsContext &)> caption;
    std::function<QString(const TMK &, const SettingsContext &)> read;
    // Converts with the page's checks and stores; throws Error, the records untouched.
    std::function<void(TMK &, const QString &, SettingsContext &)> store;
    // Its own rule; the rule of its page (settingsPages()) is added by settingShown().
    std::function<bool(const TMK &, const SettingsContext &)> shown;
    bool referenceOnly = false; // shown for reference, never stored by its page
    // Storing acts like a click on the page even when the text is the one shown (a click on
    // «Все» selects every listed system, whatever was stored before).
    bool actsAsClick = false;
    // Where the editor shows it: the objectName of its control (a simple setting's own control,
    // a special page's grid or preview) and the row of that grid that holds it (-1: none).
    QString control;
    int row = -1;
    // The caption the page shows where `read` gives an identifier (hot-menu items); empty: none.
    std::function<QString(const TMK &, const SettingsContext &)> itemCaption;
};

// Field-table rows in page order, then the special pages' settings.
const std::vector<NamedSetting> &namedSettings();
const NamedSetting *findNamedSetting(const QString &name);

QString settingCaption(const NamedSetting &s, const SettingsContext &ctx);
QString settingText(const NamedSetting &s, const TMK &model, const SettingsContext &ctx);
// Whether the editor shows it: its page and every page above it are shown, and so is the setting.
bool settingShown(const NamedSetting &s, const TMK &model, const SettingsContext &ctx);
// Why the editor would not let this setting be changed on this model (hidden with its page, hidden
// on its page, shown for reference only), as a Russian sentence naming it; empty when it would.
QString settingRefusal(const NamedSetting &s, const TMK &model, const SettingsContext &ctx);
// Stores the shown text. A text equal to the one shown stores nothing and is always accepted (a
// value the page could not choose may stay as it is), unless the setting acts as a click; returns
// whether anything changed.
bool storeSettingText(const NamedSetting &s, TMK &model, const QString &text, SettingsContext &ctx);

// The special pages' rows (NamedSettingsSpecial.cpp).
std::vector<NamedSetting> specialSettings();

} // namespace mk
