// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hot-menu item catalog: identifier, caption and code of every item the device's hot menus
// can hold.
//
// Codes depend on the model: build the catalog for the model's flags (SelectDeviceModel,
// DeviceModel.h) and look items up by identifier (the editor's add menu) or by stored code
// (the hot-menu grids). Both lookups return nullptr when nothing matches; skip such entries.
//
//     MenuItemCatalog menu(device.Flags);
//     if (const TMKMenuItem *item = menu.FindMenuItemByIdent("TankLimitMenu")) addEntry(item);
//     const TMKMenuItem *shown = menu.FindMenuItemByCode(storedCode);   // nullptr: empty caption

#include "catalogs/FeatureFlags.h"

#include <QString>
#include <vector>

namespace mk {

struct TMKMenuItem
{
    QString Name;  // caption in the editor and on the device
    QString Ident; // identifier, e.g. "TankLimitMenu" (slot 10 of the refuelling journal repeats slot 0's)
    quint16 Code = 0;
    quint8 Group = 0; // 0 settings and actions, 1 journals, 2 taximeter, 3 parking sensor
};

class MenuItemCatalog
{
public:
    explicit MenuItemCatalog(const FeatureFlags &flags = {}) { BuildMenuItems(flags); }

    // Empties the list and creates the items; codes count from 1 over the items created.
    void BuildMenuItems(const FeatureFlags &flags);

    // First item with exactly this identifier (case-sensitive), or nullptr.
    const TMKMenuItem *FindMenuItemByIdent(const QString &ident) const;
    // First item with this code, or nullptr.
    const TMKMenuItem *FindMenuItemByCode(quint16 code) const;

    const std::vector<TMKMenuItem> &items() const { return m_items; }

private:
    std::vector<TMKMenuItem> m_items;
};

// Code of an item in the catalog built with every flag clear (the codes of a fresh model's
// default hot menus); 0 when there is no such item.
quint16 defaultMenuItemCode(const QString &ident);

// Caption of a journal slot item: the slot number in four places, five spaces, "ММ:ЧЧ ДД.ММ";
// slot 0 reads "Пoс." in place of the number.
QString journalSlotCaption(int slot);

} // namespace mk
