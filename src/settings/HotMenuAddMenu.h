// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the hot-menu page offers to insert into each list: item identifiers grouped in
// sub-menus. The page asks the hot-menu catalog for each identifier and leaves out those the
// device model does not have.

#include <QString>
#include <vector>

namespace mk {

struct HotMenuAddEntry
{
    QString ident;                         // an item; empty for a sub-menu
    QString caption;                       // a sub-menu's caption
    std::vector<HotMenuAddEntry> children; // a sub-menu's entries

    bool isSubMenu() const { return ident.isEmpty(); }
};

// The entries for list 0..3 (parameters, averages, taximeter, parking sensors); the lamp item
// and the icy-road announcement depend on whether the model has an air-temperature input.
std::vector<HotMenuAddEntry> hotMenuAddEntries(int list, bool noAirTempInput);

} // namespace mk
