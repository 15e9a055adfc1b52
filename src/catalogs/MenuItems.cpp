// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/MenuItems.h"

#include "catalogs/CatalogTables.h"
#include "catalogs/CatalogTexts.h"

namespace mk {

namespace {

// Speech items a model without voice does not have.
bool isVoiceItem(const char *ident)
{
    return qstrcmp(ident, "SoundVolumeMenu") == 0 || qstrcmp(ident, "SayParamPeriodMenu") == 0;
}

} // namespace

// Codes are given by a counter over the items actually created, so an omitted item moves every
// later code down by one.
void MenuItemCatalog::BuildMenuItems(const FeatureFlags &flags)
{
    m_items.clear();
    quint16 counter = 1;
    for (const catalog_data::MenuItemRow &r : catalog_data::kMenuItemRows) {
        if (flags.NoVoice && isVoiceItem(r.ident))
            continue;
        TMKMenuItem item;
        item.Ident = QString::fromLatin1(r.ident);
        item.Name = QString::fromUtf8(r.caption);
        item.Group = quint8(r.group);
        if (flags.NoAirTempInput && qstrcmp(r.ident, "apHoloMenu") == 0) {
            item.Ident = QString::fromLatin1(catalog_text::kLightsOnIdent);
            item.Name = QString::fromUtf8(catalog_text::kLightsOnCaption);
        }
        item.Code = counter++;
        m_items.push_back(item);
    }
}

const TMKMenuItem *MenuItemCatalog::FindMenuItemByIdent(const QString &ident) const
{
    for (const TMKMenuItem &item : m_items)
        if (item.Ident == ident)
            return &item;
    return nullptr;
}

const TMKMenuItem *MenuItemCatalog::FindMenuItemByCode(quint16 code) const
{
    for (const TMKMenuItem &item : m_items)
        if (item.Code == code)
            return &item;
    return nullptr;
}

quint16 defaultMenuItemCode(const QString &ident)
{
    static const MenuItemCatalog catalog;
    const TMKMenuItem *item = catalog.FindMenuItemByIdent(ident);
    return item ? item->Code : 0;
}

QString journalSlotCaption(int slot)
{
    const QString number =
        slot == 0 ? QString::fromUtf8(catalog_text::kSlotZeroLabel) : QStringLiteral("%1").arg(slot, 4);
    return number + QStringLiteral("     ") + QString::fromUtf8(catalog_text::kSlotTail);
}

} // namespace mk
