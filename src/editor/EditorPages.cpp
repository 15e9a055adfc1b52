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
#include "editor/ServiceInfoPage.h"
#include "editor/SimplePages.h"
#include "editor/TankPage.h"

namespace mk {

std::vector<PageEntry> specialPages()
{
    using P = PageId;
    return {
        {P::Displays4, makeLayoutPage4},
        {P::Displays9, makeLayoutPage9},
        {P::Displays7, makeLayoutPage7},
        {P::GraphDisplays, makeLayoutPageGraph},
        {P::ArrowDisplays, makeLayoutPageArrow},
        {P::Display6, makeLayoutPage6},
        {std::nullopt, {}}, // the simple fields
        {P::ColourSchemes, makePage<ColourSchemesPage>},
        {P::HotMenus, makePage<HotMenuPage>},
        {P::Tank, makePage<TankPage>},
        {P::AddSystems, makePage<AddSystemsPage>},
        {P::Sources, makePage<ProtocolPage>},
        {P::ServiceInfo, makePage<ServiceInfoPage>},
    };
}

SimplePageBuild simplePageBuilder(PageId page)
{
    // Every id has its case: a new page does not compile until it says what fills it.
    switch (page) {
    case PageId::Corrections: return buildCorrectionsPage;
    case PageId::Sources: return buildSourcesPage; // and the protocol page's logic
    case PageId::Limits: return buildLimitsPage;
    case PageId::MiscDisplay: return buildMiscDisplayPage;
    case PageId::Voice: return buildVoicePage;
    case PageId::Averages: return buildAveragesPage;
    case PageId::Parking: return buildParkingPage;
    case PageId::Service: return buildServicePage;
    case PageId::UniversalInput: return buildUniversalInputPage;
    case PageId::Display:       // holds the display pages
    case PageId::ColourSchemes: // special pages (specialPages())
    case PageId::Displays4:
    case PageId::Displays9:
    case PageId::Displays7:
    case PageId::GraphDisplays:
    case PageId::ArrowDisplays:
    case PageId::Display6:
    case PageId::HotMenus:
    case PageId::Tank:
    case PageId::AddSystems:
    case PageId::ServiceInfo: return nullptr;
    }
    return nullptr;
}

} // namespace mk
