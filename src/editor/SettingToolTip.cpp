// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SettingToolTip.h"

#include "settings/FieldTable.h"
#include "settings/RecordSet.h"
#include "settings/ShownValue.h"

#include <QStringList>

namespace mk {

namespace {

QString number(double v, int decimals) { return localeNumber(v, decimals); }

QString allowedFromRow(const FieldDef &def, const FieldContext &ctx)
{
    switch (def.kind) {
    case ControlKind::SpinEdit: {
        const FieldRange r = rangeOf(def, ctx);
        return r.bounded ? QStringLiteral("от %1 до %2").arg(number(r.min, r.decimals), number(r.max, r.decimals))
                         : QString();
    }
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: {
        const QStringList items = itemsOf(def, ctx);
        if (items.size() > 8) // long lists ("1" .. "99", protocols): the ends tell enough
            return QStringLiteral("%1 … %2 (%3 вариантов)")
                .arg(items.first().trimmed(), items.last().trimmed())
                .arg(items.size());
        QStringList trimmed;
        for (const QString &i : items)
            trimmed << i.trimmed();
        return trimmed.join(QStringLiteral(", "));
    }
    case ControlKind::CheckBox: return {};
    case ControlKind::Edit: return QStringLiteral("текст, не более %1 символов").arg(def.param - 1);
    case ControlKind::DateEdit: return QStringLiteral("дата дд.мм.гг");
    case ControlKind::TimeEdit: return QStringLiteral("время чч:мм");
    }
    return {};
}

} // namespace

QString unitOf(const QString &caption)
{
    // Captions name their unit after the last comma: "Объем бака, л".
    const qsizetype comma = caption.lastIndexOf(QStringLiteral(", "));
    if (comma < 0)
        return {};
    const QString unit = caption.mid(comma + 2).trimmed();
    if (unit.isEmpty() || unit.size() > 12 || unit.startsWith(QStringLiteral("точка")))
        return {};
    return unit;
}

QString factoryText(const FieldDef &def, const FieldContext &ctx) { return valueText(def, factoryModel(), ctx); }

QString valueText(const FieldDef &def, const TMK &model, const FieldContext &ctx)
{
    return shownText(shownFieldValue(def, model, ctx));
}

QString settingToolTip(const FieldDef &def, const FieldContext &ctx, const QString &allowed)
{
    QStringList lines;
    const QString values = allowed.isEmpty() ? allowedFromRow(def, ctx) : allowed;
    if (!values.isEmpty())
        lines << QStringLiteral("Допустимые значения: %1").arg(values);
    if (def.kind == ControlKind::SpinEdit) {
        const FieldRange r = rangeOf(def, ctx);
        lines << QStringLiteral("Шаг: %1").arg(number(r.step, r.decimals));
    }
    const QString unit = unitOf(captionOf(def, ctx));
    if (!unit.isEmpty())
        lines << QStringLiteral("Единица: %1").arg(unit);
    lines << QStringLiteral("Заводское значение: %1").arg(factoryText(def, ctx));
    lines << QStringLiteral("Имя: %1").arg(def.name);
    return lines.join(QLatin1Char('\n'));
}

} // namespace mk
