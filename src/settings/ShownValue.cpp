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
    ShownValue v;
    v.tool = settingText(s, model, ctx);
    if (s.itemCaption)
        v.caption = s.itemCaption(model, ctx);
    v.text = v.caption.isEmpty() ? v.tool : v.caption;
    if (!s.field)
        return v;
    const FieldDef &def = *s.field;
    const FieldContext &fields = ctx.fields();
    switch (def.kind) {
    case ControlKind::CheckBox:
        v.text = v.tool == QLatin1String("1") ? QStringLiteral("да") : QStringLiteral("нет");
        break;
    case ControlKind::SpinEdit: {
        // The box keeps to its range: a stored value outside shows as the nearest end.
        const FieldRange r = rangeOf(def, fields);
        const double value = loadField(def, model, fields).toDouble();
        const double inBox = r.bounded ? std::clamp(value, r.min, r.max) : value;
        v.text = localeNumber(inBox, r.decimals);
        if (inBox != value)
            v.stored = localeNumber(value, r.decimals);
        break;
    }
    default: break;
    }
    if (const std::optional<qint64> stored = storedUnshown(def, model))
        v.stored = QString::number(*stored);
    if (!v.stored.isEmpty())
        v.stored = QStringLiteral("хранится %1, страница «%2» показывает %3").arg(v.stored, s.page, v.text);
    return v;
}

QString toolText(const ShownValue &v)
{
    return v.caption.isEmpty() ? v.tool : QStringLiteral("%1 (%2)").arg(v.caption, v.tool);
}

} // namespace mk
