// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's pages by id; their captions, tab sheets and order are in SettingsPages.cpp.

#include <QtGlobal>

namespace mk {

// Every page, in the editor's tab order (the display pages inside the display page).
enum class PageId : quint8 {
    Corrections,
    Sources,
    Limits,
    Display,
    ColourSchemes,
    Displays4,
    Displays9,
    Displays7,
    GraphDisplays,
    ArrowDisplays,
    Display6,
    HotMenus,
    MiscDisplay,
    Voice,
    Averages,
    Parking,
    Tank,
    Service,
    AddSystems,
    UniversalInput,
    ServiceInfo,
};
inline constexpr int kPageCount = int(PageId::ServiceInfo) + 1;

} // namespace mk
