// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/NamedSettings.h"

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"

#include <QHash>

namespace mk {

namespace {

NamedSetting fieldSetting(const FieldDef &def)
{
    NamedSetting s;
    s.name = def.name;
    s.page = def.page;
    s.field = &def;
    s.control = def.control;
    s.section = def.section;
    s.bytes = fieldBytes(def);
    s.referenceOnly = def.referenceOnly;
    s.caption = [&def](const SettingsContext &ctx) { return captionOf(def, ctx.fields()); };
    s.read = [&def](const TMK &model, const SettingsContext &ctx) {
        return fieldText(def, loadField(def, model, ctx.fields()), ctx.fields());
    };
    s.store = [&def](TMK &model, const QString &text, SettingsContext &ctx) {
        const QVariant value = parseFieldText(def, text, ctx.fields());
        if (def.conversion == Conversion::ProtocolIndex)
            ctx.chooseProtocol(model, value.toInt()); // the sub-types and the fuel source list follow
        else
            storeField(def, model, value, ctx.fields());
    };
    s.shown = [&def](const TMK &model, const SettingsContext &ctx) { return fieldShown(def, ctx.fields(), model); };
    return s;
}

std::vector<NamedSetting> makeSettings()
{
    std::vector<NamedSetting> all;
    for (const FieldDef &def : fieldTable())
        all.push_back(fieldSetting(def));
    for (NamedSetting &s : specialSettings())
        all.push_back(std::move(s));
    return all;
}

} // namespace

const std::vector<NamedSetting> &namedSettings()
{
    static const std::vector<NamedSetting> all = makeSettings();
    return all;
}

const NamedSetting *findNamedSetting(const QString &name)
{
    static const QHash<QString, const NamedSetting *> byName = [] {
        QHash<QString, const NamedSetting *> h;
        for (const NamedSetting &s : namedSettings())
            h.insert(s.name, &s);
        return h;
    }();
    return byName.value(name, nullptr);
}

QString settingCaption(const NamedSetting &s, const SettingsContext &ctx) { return s.caption(ctx); }

QString settingText(const NamedSetting &s, const TMK &model, const SettingsContext &ctx) { return s.read(model, ctx); }

bool settingShown(const NamedSetting &s, const TMK &model, const SettingsContext &ctx)
{
    return !hiddenPage(s.page, ctx.fields(), model) && s.shown(model, ctx);
}

QString settingRefusal(const NamedSetting &s, const TMK &model, const SettingsContext &ctx)
{
    if (const SettingsPage *hidden = hiddenPage(s.page, ctx.fields(), model))
        return QStringLiteral("Настройка %1 недоступна для этой модели МК: страница «%2» не показывается.")
            .arg(s.name, hidden->caption);
    if (!s.shown(model, ctx))
        return QStringLiteral("Настройка %1 недоступна для этой модели МК и протокола: страница «%2» её не показывает.")
            .arg(s.name, pageCaption(s.page));
    if (s.referenceOnly)
        return QStringLiteral("Настройка %1 показывается только для справки: страница «%2» её не меняет.")
            .arg(s.name, pageCaption(s.page));
    return {};
}

bool storeSettingText(const NamedSetting &s, TMK &model, const QString &text, SettingsContext &ctx)
{
    if (s.actsAsClick) {
        const Record before = model.record(s.section);
        s.store(model, text, ctx);
        return !(model.record(s.section) == before);
    }
    if (text == s.read(model, ctx))
        return false;
    s.store(model, text, ctx);
    return true;
}

} // namespace mk
