// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ShownValue.h"

#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"

#include <QLocale>
#include <algorithm>

namespace mk {

QString localeNumber(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

ShownValue shownValue(const NamedSetting &s, const TMK &model, const SettingsContext &ctx)
{
    if (s.field)
        return shownFieldValue(*s.field, model, ctx.fields());
    ShownValue v;
    v.tool = settingText(s, model, ctx);
    if (s.itemCaption)
        v.caption = s.itemCaption(model, ctx);
    v.text = v.caption.isEmpty() ? v.tool : v.caption;
    return v;
}

ShownValue shownFieldValue(const FieldDef &def, const TMK &model, const FieldContext &ctx)
{
    ShownValue v;
    const QVariant value = loadField(def, model, ctx);
    v.tool = v.text = fieldText(def, value, ctx);
    switch (def.kind) {
    case ControlKind::CheckBox: v.text = value.toBool() ? QStringLiteral("да") : QStringLiteral("нет"); break;
    case ControlKind::SpinEdit: {
        // The box keeps to its range: a stored value outside shows as the nearest end.
        const FieldRange r = rangeOf(def, ctx);
        const double number = value.toDouble();
        const double inBox = r.bounded ? std::clamp(number, r.min, r.max) : number;
        v.text = localeNumber(inBox, r.decimals);
        if (inBox != number)
            v.stored = localeNumber(number, r.decimals);
        break;
    }
    default: break;
    }
    if (const std::optional<qint64> stored = storedUnshown(def, model))
        v.stored = QString::number(*stored);
    if (!v.stored.isEmpty())
        v.stored =
            QStringLiteral("хранится %1, страница «%2» показывает %3").arg(v.stored, pageCaption(def.page), v.text);
    return v;
}

QString shownText(const ShownValue &v)
{
    return v.stored.isEmpty() ? v.text : QStringLiteral("%1 (%2)").arg(v.text, v.stored);
}

QString toolText(const ShownValue &v)
{
    return v.caption.isEmpty() ? v.tool : QStringLiteral("%1 (%2)").arg(v.caption, v.tool);
}

} // namespace mk
