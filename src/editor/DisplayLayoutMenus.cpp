// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DisplayLayoutMenus.h"

#include "catalogs/MeasPars.h"
#include "catalogs/Prots.h"

#include <QMenu>

namespace mk {

QString placeMenuName(ScreenKind kind, int place)
{
    switch (kind) {
    case ScreenKind::X4: return QStringLiteral("pmDig4");
    case ScreenKind::X9: return QStringLiteral("pmDig9");
    case ScreenKind::X7: return QStringLiteral("pmDig7");
    case ScreenKind::X6: return QStringLiteral("pmDig6");
    case ScreenKind::Graph: return place == kLowerGraph ? QStringLiteral("pmGraph2") : QStringLiteral("pmGraph1");
    case ScreenKind::Arrow: return place == kRightGauge ? QStringLiteral("pmArrow2") : QStringLiteral("pmArrow1");
    case ScreenKind::X1:
    case ScreenKind::HotMenu: break;
    }
    return {};
}

std::vector<PlaceMenuEntry> placeMenuEntries(ScreenKind kind, int place, const TProtBase *protocol,
                                             const MeasParCatalog &catalog, quint8 current)
{
    std::vector<PlaceMenuEntry> entries;
    if (kind == ScreenKind::Graph && place == kLowerGraph)
        entries.push_back({QStringLiteral("Отсутствует"), 0, current == 0});
    if (!protocol)
        return entries;
    for (const quint8 code : protocol->ParamCodes) {
        const TMeasParBase *par = catalog.FindMeasPar(code);
        if (!par)
            continue;
        if (kind == ScreenKind::Graph && !par->Graphable)
            continue;
        if (kind == ScreenKind::Arrow && par->GaugeKind != (place == kRightGauge ? 2 : 1))
            continue;
        entries.push_back({par->Name, par->Code, par->Code == current});
    }
    return entries;
}

namespace {

MenuHook &menuHook()
{
    static MenuHook hook;
    return hook;
}

} // namespace

ScopedMenuHook::ScopedMenuHook(MenuHook hook) : m_previous(std::move(menuHook())) { menuHook() = std::move(hook); }

ScopedMenuHook::~ScopedMenuHook() { menuHook() = std::move(m_previous); }

QAction *execMenu(QMenu &menu, const QPoint &globalPos)
{
    if (menuHook())
        return menuHook()(menu);
    return menu.exec(globalPos);
}

} // namespace mk
