#include "settings/NamedSettings.h"

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "settings/EditSession.h"
#include "settings/FieldTableContext.h"

#include <QHash>

namespace mk {

NamedContext::NamedContext(const TMK &model) : m_device(SelectDeviceModel(model))
{
    m_measPars.rebuild(m_device.Flags);
    m_menuItems.BuildMenuItems(m_device.Flags);
    refresh();
}

NamedContext NamedContext::lenient(const TMK &model)
{
    try {
        return NamedContext(model);
    } catch (const Error &) {
        NamedContext ctx; // no model-table row: plain conversions, no protocol
        ctx.m_systems = buildAddSystemList({});
        return ctx;
    }
}

void NamedContext::refresh()
{
    m_fields = fieldContext(m_device, m_measPars);
    const TProtBase *protocol = m_device.CurrentProtocol();
    m_systems = buildAddSystemList(
        {m_device.hasProtocol(kCanProtocolCode), m_device.Flags.ExtendedSystems, protocol && protocol->Hybrid});
}

bool NamedContext::chooseProtocol(TMK &model, int index)
{
    const bool changed = mk::chooseProtocol(model, m_device, index);
    if (changed)
        refresh();
    return changed;
}

namespace {

NamedSetting fieldSetting(const FieldDef &def)
{
    NamedSetting s;
    s.name = def.name;
    s.page = def.page;
    s.field = &def;
    s.section = def.section;
    s.bytes = fieldBytes(def);
    s.caption = [&def](const NamedContext &ctx) { return captionOf(def, ctx.fields()); };
    s.read = [&def](const TMK &model, const NamedContext &ctx) {
        return fieldText(def, loadField(def, model, ctx.fields()), ctx.fields());
    };
    s.store = [&def](TMK &model, const QString &text, NamedContext &ctx) {
        const QVariant value = parseFieldText(def, text, ctx.fields());
        if (def.conversion == Conversion::ProtocolIndex)
            ctx.chooseProtocol(model, value.toInt()); // the sub-types and the fuel source list follow
        else
            storeField(def, model, value, ctx.fields());
    };
    s.shown = [&def](const TMK &model, const NamedContext &ctx) { return fieldShown(def, ctx.fields(), model); };
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

QString settingCaption(const NamedSetting &s, const NamedContext &ctx) { return s.caption(ctx); }

QString settingText(const NamedSetting &s, const TMK &model, const NamedContext &ctx) { return s.read(model, ctx); }

bool settingShown(const NamedSetting &s, const TMK &model, const NamedContext &ctx) { return s.shown(model, ctx); }

bool storeSettingText(const NamedSetting &s, TMK &model, const QString &text, NamedContext &ctx)
{
    if (text == s.read(model, ctx))
        return false;
    s.store(model, text, ctx);
    return true;
}

const std::vector<SettingsPage> &settingsPages()
{
    static const std::vector<SettingsPage> pages = {
        {QStringLiteral("Поправки"), QStringLiteral("TabSheet2"), {}},
        {QStringLiteral("Источники"), QStringLiteral("tsCorr"), {}},
        {QStringLiteral("Границы"), QStringLiteral("TabSheet1"), {}},
        {QStringLiteral("Дисплей"), QStringLiteral("tsDisp"), {}},
        {QStringLiteral("Цветовые схемы"), QStringLiteral("tsColor"), QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х4"), QStringLiteral("tsParams4"), QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х9"), QStringLiteral("tsParams9"), QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х7"), QStringLiteral("tsParams7"), QStringLiteral("Дисплей")},
        {QStringLiteral("Граф. дисплеи"), QStringLiteral("tsParamsG"), QStringLiteral("Дисплей")},
        {QStringLiteral("Стрел. дисплеи"), QStringLiteral("tsParamsA"), QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплей х6"), QStringLiteral("tsParams6"), QStringLiteral("Дисплей")},
        {QStringLiteral("Горячие меню"), QStringLiteral("tsHotMenu"), QStringLiteral("Дисплей")},
        {QStringLiteral("Разное"), QStringLiteral("TabSheet3"), QStringLiteral("Дисплей")},
        {QStringLiteral("Озвуч.сообщения"), QStringLiteral("tsVoice"), {}},
        {QStringLiteral("Средние"), QStringLiteral("tsAver"), {}},
        {QStringLiteral("Парковка"), QStringLiteral("tsPark"), {}},
        {QStringLiteral("Бак"), QStringLiteral("tsOil"), {}},
        {QStringLiteral("ТО"), QStringLiteral("tsTO"), {}},
        {QStringLiteral("Допсистемы"), QStringLiteral("tsBlocks"), {}},
        {QStringLiteral("Унив.вход"), QStringLiteral("tsUniMeas"), {}},
        {QStringLiteral("Служ.информ."), QStringLiteral("tsServiceInfo"), {}},
    };
    return pages;
}

bool pageSelected(const QString &page, const QStringList &names)
{
    const auto find = [](const QString &captionOrTab) -> const SettingsPage * {
        for (const SettingsPage &p : settingsPages())
            if (p.caption == captionOrTab || p.tab == captionOrTab)
                return &p;
        return nullptr;
    };
    const SettingsPage *own = find(page);
    bool selected = false;
    for (const QString &name : names) {
        const SettingsPage *wanted = find(name.trimmed());
        if (!wanted)
            throw Error(QStringLiteral("Нет такой страницы: %1").arg(name));
        if (wanted->caption == page || (own && own->parent == wanted->caption))
            selected = true;
    }
    return selected;
}

} // namespace mk
