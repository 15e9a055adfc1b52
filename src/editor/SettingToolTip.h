// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool tip of a setting's control, built from its field-table row: the values it takes (and
// the step), its unit, its factory value and the name mktool knows it by.

#include <QString>

namespace mk {

class TMK;
struct FieldDef;
struct FieldContext;

// `allowed` is the range as the control words it ("от 40 до 200"); empty: from the row.
QString settingToolTip(const FieldDef &def, const FieldContext &ctx, const QString &allowed = {});

// The unit a caption ends with ("Превышение скорости, км/ч" -> "км/ч"); empty for none.
QString unitOf(const QString &caption);

// A field's value in `model` as comparisons show it ("110", "да", "0 (хранится 75, …)").
QString valueText(const FieldDef &def, const TMK &model, const FieldContext &ctx);
// The factory value, likewise.
QString factoryText(const FieldDef &def, const FieldContext &ctx);

} // namespace mk
