// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SpecialControls.h"

#include "settings/HotMenuList.h"

namespace mk::special_control {

QString activeColourScheme() { return QStringLiteral("rgActiveColorScheme"); }
QString palette() { return QStringLiteral("sgPalette"); }
QString colourRoles() { return QStringLiteral("pcColorDisp"); }
QString displayVariantGrid(int digits) { return QStringLiteral("sgDispVar%1").arg(digits); }

QString layoutPreview(ScreenKind kind, int screen)
{
    const auto prefix = [kind]() -> QString {
        switch (kind) {
        case ScreenKind::X4: return QStringLiteral("pbDigit4_");
        case ScreenKind::X9: return QStringLiteral("pbDigit9_");
        case ScreenKind::X7: return QStringLiteral("pbDigit7_");
        case ScreenKind::Graph: return QStringLiteral("pbGraph_");
        case ScreenKind::Arrow: return QStringLiteral("pbArrow_");
        case ScreenKind::X6: return QStringLiteral("pbDigit6_");
        case ScreenKind::X1:
        case ScreenKind::HotMenu: return {}; // no layout page
        }
        return {};
    };
    return prefix() + QString::number(screen + 1);
}

QString hotMenuGrid(int list) { return QStringLiteral("sg") + hotMenuName(list); }
QString blocksShow() { return QStringLiteral("rgBlocksShow"); }
QString blocksShowList() { return QStringLiteral("rgBlocksShowList"); }
QString allBlocks() { return QStringLiteral("sgAllBlocks"); }
QString tankTable() { return QStringLiteral("sgTarir"); }

} // namespace mk::special_control
