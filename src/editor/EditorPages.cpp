// SPDX-License-Identifier: GPL-3.0-or-later
// The special pages of the editor, in loading order: the display-layout previews, then the simple
// fields together with the colour schemes, the hot menus, the tank, the additional systems.
// One line per page class; see EditorPage.h.

#include "editor/AddSystemsPage.h"
#include "editor/ColourSchemesPage.h"
#include "editor/DisplayLayoutPage.h"
#include "editor/EditorPage.h"
#include "editor/HotMenuPage.h"
#include "editor/ProtocolPage.h"
#include "editor/TankPage.h"

namespace mk {

std::vector<PageEntry> specialPages()
{
    return {
        {QStringLiteral("tsParams4"), makeLayoutPage4},
        {QStringLiteral("tsParams9"), makeLayoutPage9},
        {QStringLiteral("tsParams7"), makeLayoutPage7},
        {QStringLiteral("tsParamsG"), makeLayoutPageGraph},
        {QStringLiteral("tsParamsA"), makeLayoutPageArrow},
        {QStringLiteral("tsParams6"), makeLayoutPage6},
        {kSimpleFields, {}},
        {QStringLiteral("tsColor"), makePage<ColourSchemesPage>},
        {QStringLiteral("tsHotMenu"), makePage<HotMenuPage>},
        {QStringLiteral("tsOil"), makePage<TankPage>},
        {QStringLiteral("tsBlocks"), makePage<AddSystemsPage>},
        {QStringLiteral("tsCorr"), makePage<ProtocolPage>},
    };
}

} // namespace mk
