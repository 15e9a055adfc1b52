// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsPages.h"

#include "base/Error.h"

namespace mk {

const std::vector<SettingsPage> &settingsPages()
{
    using F = Flag;
    // clang-format off
    static const std::vector<SettingsPage> pages = {
        {QStringLiteral("Поправки"),        QStringLiteral("TabSheet2"),     {}},
        {QStringLiteral("Источники"),       QStringLiteral("tsCorr"),        {}},
        {QStringLiteral("Границы"),         QStringLiteral("TabSheet1"),     {}},
        {QStringLiteral("Дисплей"),         QStringLiteral("tsDisp"),        {}},
        {QStringLiteral("Цветовые схемы"),  QStringLiteral("tsColor"),       QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х4"),      QStringLiteral("tsParams4"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х9"),      QStringLiteral("tsParams9"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплеи х7"),      QStringLiteral("tsParams7"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Граф. дисплеи"),   QStringLiteral("tsParamsG"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Стрел. дисплеи"),  QStringLiteral("tsParamsA"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Дисплей х6"),      QStringLiteral("tsParams6"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Горячие меню"),    QStringLiteral("tsHotMenu"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Разное"),          QStringLiteral("TabSheet3"),     QStringLiteral("Дисплей")},
        {QStringLiteral("Озвуч.сообщения"), QStringLiteral("tsVoice"),       {}},
        {QStringLiteral("Средние"),         QStringLiteral("tsAver"),        {}},
        {QStringLiteral("Парковка"),        QStringLiteral("tsPark"),        {}, unless(F::NoParking)},
        {QStringLiteral("Бак"),             QStringLiteral("tsOil"),         {}},
        {QStringLiteral("ТО"),              QStringLiteral("tsTO"),          {}},
        {QStringLiteral("Допсистемы"),      QStringLiteral("tsBlocks"),      {}, when(F::AddSystems)},
        {QStringLiteral("Унив.вход"),       QStringLiteral("tsUniMeas"),     {}, when(F::UniversalInput)},
        {QStringLiteral("Служ.информ."),    QStringLiteral("tsServiceInfo"), {}, kNever},
    };
    // clang-format on
    return pages;
}

const SettingsPage *findSettingsPage(const QString &captionOrTab)
{
    for (const SettingsPage &p : settingsPages())
        if (p.caption == captionOrTab || p.tab == captionOrTab)
            return &p;
    return nullptr;
}

bool pageSelected(const QString &page, const QStringList &names)
{
    const SettingsPage *own = findSettingsPage(page);
    bool selected = false;
    for (const QString &name : names) {
        const SettingsPage *wanted = findSettingsPage(name.trimmed());
        if (!wanted)
            throw Error(ErrorKind::BadValue, QStringLiteral("Нет такой страницы: %1").arg(name));
        if (wanted->caption == page || (own && own->parent == wanted->caption))
            selected = true;
    }
    return selected;
}

const SettingsPage *hiddenPage(const QString &page, const FieldContext &ctx, const TMK &model)
{
    // Pages nest one level deep; the loop stops at the top whatever the table holds.
    for (const SettingsPage *p = findSettingsPage(page); p;
         p = p->parent.isEmpty() ? nullptr : findSettingsPage(p->parent))
        if (!conditionHolds(p->shown, ctx, model))
            return p;
    return nullptr;
}

} // namespace mk
