// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between two settings images, setting by setting: the write preview, the compare
// window, mktool diff and mktool write --dry-run all show this one comparison.
//
//     const SettingsDiff d = diffSettings(deviceNow, toBeWritten);
//     if (d.identical()) ...               // not one byte differs
//     for (const DiffPage &page : d.pages) // in the editor's page order
//         for (const SettingChange &c : page.changes) ...
//
// Every setting that has a name (namedSettings()) is compared by its stored bits and shown by
// its shown texts (ShownValue.h), as the page shows it: a hot menu with its gaps closed, a tank
// table length above 68 as 0 with what is stored beside it. Gaps between a hot menu's items,
// which the page closes by itself when it opens, are no change: they are told apart, in one line
// of their own (tidyUpLine). What the device records shows as journals and sets of
// averages: "Журнал поездок: очищен, было 8 записей", "Накопленные средние «Поездка»: обнулены, …".
// Bits of the records that no name covers are still reported, grouped by the page (or the
// section) they belong to, unless a setting listed as changed stores in the same byte (the byte
// is listed once, under the setting's name); so are image bytes outside every record and a
// differing model code: two images that differ anywhere never compare equal.

#include <QString>
#include <vector>

namespace mk {

class TMK;

enum class ChangeKind : quint8 {
    Setting,     // a named setting
    Unnamed,     // bits no name covers
    Journal,     // what the device records: a journal cleared or its entries changed
    HotMenuGaps, // empty places between the items of a hot menu (caption: the list), which the page
                 // closes when it opens
};

struct SettingChange
{
    ChangeKind kind = ChangeKind::Setting;
    QString name;    // empty for bits that no name covers
    QString caption; // the caption the editor shows beside it
    QString before;  // value as mktool shows it (the texts `set` takes)
    QString after;
    QString shownBefore; // value as the editor shows it (ShownValue::text)
    QString shownAfter;
    QString itemBefore; // the caption of an item or state `before` names (hot menus, systems), else empty
    QString itemAfter;
    QString rawBefore; // the stored bits in hexadecimal ("0x0046"), named settings only
    QString rawAfter;
    int unnamedBytes = 0; // for a change without a name: how many bytes differ

    // "Подпись (Identifier)"; the caption alone for what has no name.
    QString label() const;
    // One line of text: "Журнал поездок: очищен, было 8 записей", "Caption: before -> after".
    QString line() const;
};

struct DiffPage
{
    QString page;
    std::vector<SettingChange> changes;

    // The settings changed on the page, counted as the editor's tab counts them: named settings
    // only, not the bytes without a name, journals or averages listed beside them.
    int settingCount() const;
};

struct SettingsDiff
{
    std::vector<DiffPage> pages;
    // Hot menus whose stored gaps alone differ: the page's own tidy-up, not counted as a change.
    std::vector<SettingChange> tidyUps;
    int namedCount = 0;      // named settings that differ
    int unnamedBytes = 0;    // record bytes with differing bits that no name covers
    int otherImageBytes = 0; // image bytes outside every record (header, section 11, oscilloscope, length)
    bool modelCodesDiffer = false;
    quint16 modelCodeBefore = 0;
    quint16 modelCodeAfter = 0;

    int changeCount() const;
    bool identical() const { return pages.empty() && tidyUps.empty() && otherImageBytes == 0 && !modelCodesDiffer; }
    // "Горячие меню «Параметры»: страница при открытии убрала пустые места …"; empty without tidy-ups.
    QString tidyUpLine() const;
};

// `before` and `after` as loaded or read: their records decoded from their images.
SettingsDiff diffSettings(const TMK &before, const TMK &after);

// A hot menu's gaps count as closed by the page (the tidy-up line's "страница при открытии
// убрала …") only where the page closed them in this session: `held`, the settings held now,
// lacks the gaps its image as read or loaded (TMK::baseImage()) had. Any other tidy-up of `diff`
// (the settings came without them from a file) is told as a plain difference of gaps.
void creditSessionTidyUps(SettingsDiff &diff, const TMK &held);

// Plain text of the comparison, one page after another ("Сохранить как текст", mktool):
//   [Границы]
//   Границы / Превышение скорости, км/ч (VelocityLimit)	120 -> 140
// With `forTool` the lines are LABEL<TAB>BEFORE<TAB>AFTER with the values mktool's set takes; an
// item named by identifier shows its caption first: "Обратный отсчет (MeasParamsHistoryFlagMenu)".
QString diffText(const SettingsDiff &diff, bool forTool);

// The summary under a comparison: "Различаются настройки: 1; байты вне настроек: 0."
QString diffSummary(const SettingsDiff &diff);

// The page that holds a record byte, for bits no name covers: the page of the settings stored in
// it, else of the setting before it; the averages for the counters; empty when no page shows it.
QString pageOfByte(int section, int offset);

} // namespace mk
