// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsPages.h"

#include "base/Error.h"

#include <array>

namespace mk {

namespace {

struct PageRow
{
    PageId id;
    const char16_t *caption;
    const char16_t *tab;
    std::optional<PageId> parent;
    Condition shown;
};

constexpr Condition kAlways = when(Flag::Always);
using P = PageId;
using F = Flag;
// clang-format off
constexpr std::array<PageRow, kPageCount> kPageRows = {{
    {P::Corrections,    u"Поправки",         u"TabSheet2",     {},          kAlways},
    {P::Sources,        u"Источники",        u"tsCorr",        {},          kAlways},
    {P::Limits,         u"Границы",          u"TabSheet1",     {},          kAlways},
    {P::Display,        u"Дисплей",          u"tsDisp",        {},          kAlways},
    {P::ColourSchemes,  u"Цветовые схемы",   u"tsColor",       P::Display,  kAlways},
    {P::Displays4,      u"Дисплеи х4",       u"tsParams4",     P::Display,  kAlways},
    {P::Displays9,      u"Дисплеи х9",       u"tsParams9",     P::Display,  kAlways},
    {P::Displays7,      u"Дисплеи х7",       u"tsParams7",     P::Display,  kAlways},
    {P::GraphDisplays,  u"Граф. дисплеи",    u"tsParamsG",     P::Display,  kAlways},
    {P::ArrowDisplays,  u"Стрел. дисплеи",   u"tsParamsA",     P::Display,  kAlways},
    {P::Display6,       u"Дисплей х6",       u"tsParams6",     P::Display,  kAlways},
    {P::HotMenus,       u"Горячие меню",     u"tsHotMenu",     P::Display,  kAlways},
    {P::MiscDisplay,    u"Разное",           u"TabSheet3",     P::Display,  kAlways},
    {P::Voice,          u"Озвуч.сообщения",  u"tsVoice",       {},          kAlways},
    {P::Averages,       u"Средние",          u"tsAver",        {},          kAlways},
    {P::Parking,        u"Парковка",         u"tsPark",        {},          unless(F::NoParking)},
    {P::Tank,           u"Бак",              u"tsOil",         {},          kAlways},
    {P::Service,        u"ТО",               u"tsTO",          {},          kAlways},
    {P::AddSystems,     u"Допсистемы",       u"tsBlocks",      {},          when(F::AddSystems)},
    {P::UniversalInput, u"Унив.вход",        u"tsUniMeas",     {},          when(F::UniversalInput)},
    {P::ServiceInfo,    u"Служ.информ.",     u"tsServiceInfo", {},          kNever},
}};
// clang-format on

// Every id has its row at its own index, and a page holding others is a top page that comes
// before them (the editor makes the holder's tab control before it fills it): a wrong row does
// not compile.
constexpr bool rowsInIdOrder()
{
    for (size_t i = 0; i < kPageRows.size(); ++i) {
        const PageRow &row = kPageRows[i];
        if (size_t(row.id) != i)
            return false;
        if (row.parent && (size_t(*row.parent) >= i || kPageRows[size_t(*row.parent)].parent))
            return false;
    }
    return true;
}
static_assert(rowsInIdOrder(), "kPageRows: one row per PageId, in PageId order, holders first");

} // namespace

const std::vector<SettingsPage> &settingsPages()
{
    static const std::vector<SettingsPage> pages = [] {
        std::vector<SettingsPage> v;
        for (const PageRow &r : kPageRows)
            v.push_back({r.id, QString::fromUtf16(r.caption), QString::fromUtf16(r.tab), r.parent, r.shown});
        return v;
    }();
    return pages;
}

const SettingsPage &settingsPage(PageId id) { return settingsPages()[size_t(id)]; }

const SettingsPage *findSettingsPage(const QString &captionOrTab)
{
    for (const SettingsPage &p : settingsPages())
        if (p.caption == captionOrTab || p.tab == captionOrTab)
            return &p;
    return nullptr;
}

void checkPageNames(const QStringList &names)
{
    for (const QString &name : names)
        if (!findSettingsPage(name.trimmed()))
            throw Error(ErrorKind::BadValue, QStringLiteral("Нет такой страницы: %1").arg(name));
}

bool pageSelected(PageId page, const QStringList &names)
{
    checkPageNames(names);
    const SettingsPage &own = settingsPage(page);
    bool selected = false;
    for (const QString &name : names) {
        const PageId wanted = findSettingsPage(name.trimmed())->id;
        if (wanted == page || own.parent == wanted)
            selected = true;
    }
    return selected;
}

const SettingsPage *hiddenPage(PageId page, const FieldContext &ctx, const TMK &model)
{
    // Pages nest one level deep (rowsInIdOrder()).
    const SettingsPage &own = settingsPage(page);
    if (!conditionHolds(own.shown, ctx, model))
        return &own;
    if (own.parent && !conditionHolds(settingsPage(*own.parent).shown, ctx, model))
        return &settingsPage(*own.parent);
    return nullptr;
}

} // namespace mk
