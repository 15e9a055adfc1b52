// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a setting's value is shown, once for every window and for mktool: the editor's text (an
// item's caption where the value names an item, a system as "вкл"/"выкл", a check box as
// "да"/"нет", numbers with the locale's decimal separator and kept to the box's range), the text
// mktool prints and `set` takes, and what is stored when the page shows the value otherwise (a
// number outside its box's range, a tank table length the page resets).
//
//     const ShownValue v = shownValue(*findNamedSetting("hmParams.0"), model, ctx);
//     v.text      // "Обратный отсчет"             the compare window, the write preview
//     v.tool      // "MeasParamsHistoryFlagMenu"   mktool dump/set, JSON
//     toolText(v) // "Обратный отсчет (MeasParamsHistoryFlagMenu)"   mktool diff's text

#include <QString>

namespace mk {

class TMK;
class SettingsContext;
struct NamedSetting;
struct FieldDef;
struct FieldContext;

struct ShownValue
{
    QString text; // as the editor shows it
    QString tool; // as mktool prints it and `set` takes it
    QString caption; // what `tool` names when it is an identifier or a state ("Обратный отсчет", "вкл"); else empty
    QString stored; // when the page shows another value than the stored one: what is stored, and why; else empty
};

ShownValue shownValue(const NamedSetting &s, const TMK &model, const SettingsContext &ctx);
// The same for a field-table row, where only the field context is at hand (the editor's tool tips).
ShownValue shownFieldValue(const FieldDef &def, const TMK &model, const FieldContext &ctx);

// The text the compare window, the write preview and the editor's tool tips and reset menu show:
// the page's text, with what is stored where the page shows another value.
QString shownText(const ShownValue &v);

// mktool's text form: the caption first when the value names one, "Обратный отсчет (MeasParamsHistoryFlagMenu)".
QString toolText(const ShownValue &v);

// A number as the editor's spin boxes write it: the locale's decimal separator, no group separators.
QString localeNumber(double value, int decimals);

} // namespace mk
