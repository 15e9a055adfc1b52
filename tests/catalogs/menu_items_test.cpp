// SPDX-License-Identifier: GPL-3.0-or-later
// The hot-menu item catalog: codes by counter, the two feature flags, lookups, slot captions.

#include "catalogs/MenuItems.h"
#include "image/DefaultRecords.h"
#include "image/TMK.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace mk;

namespace {

FeatureFlags flags(bool noVoice, bool noAirTempInput)
{
    FeatureFlags f;
    f.NoVoice = noVoice;
    f.NoAirTempInput = noAirTempInput;
    return f;
}

quint16 code(const MenuItemCatalog &c, const char *ident)
{
    const TMKMenuItem *item = c.FindMenuItemByIdent(QString::fromLatin1(ident));
    return item ? item->Code : 0;
}

} // namespace

TEST(MenuItems, BothFlagsClearGiveCodes1To169)
{
    const MenuItemCatalog c;
    ASSERT_EQ(c.items().size(), 169u);
    for (size_t i = 0; i < c.items().size(); ++i)
        EXPECT_EQ(c.items()[i].Code, i + 1);
    EXPECT_EQ(c.FindMenuItemByCode(37)->Ident, "apHoloMenu");
    EXPECT_EQ(c.FindMenuItemByCode(37)->Name, "Гололед");
    EXPECT_EQ(c.FindMenuItemByCode(1)->Ident, "VirtLockMenu");
    EXPECT_EQ(c.FindMenuItemByCode(169)->Ident, "BlocksBoschABSESP9Menu");
    EXPECT_EQ(code(c, "SoundVolumeMenu"), 30);
    EXPECT_EQ(code(c, "FlagSoundMenu"), 31);
    EXPECT_EQ(code(c, "SayParamPeriodMenu"), 32);
    EXPECT_EQ(code(c, "TankLimitMenu"), 16);
    EXPECT_EQ(c.FindMenuItemByIdent("LightsOnMenu"), nullptr);

    // Identifiers are unique but for the tenth refuelling slot, which repeats slot 0's.
    std::set<QString> idents;
    for (const TMKMenuItem &item : c.items())
        idents.insert(item.Ident);
    EXPECT_EQ(idents.size(), 168u);
}

TEST(MenuItems, GroupsAndCaptions)
{
    const MenuItemCatalog c;
    std::vector<int> perGroup(4);
    for (const TMKMenuItem &item : c.items())
        ++perGroup.at(item.Group);
    EXPECT_EQ(perGroup, (std::vector<int>{45 + 14, 73, 27, 10}));
    EXPECT_EQ(c.FindMenuItemByIdent("TaxPathTarif4NightMenu")->Code, 145);
    EXPECT_EQ(c.FindMenuItemByIdent("TaxPathTarif4NightMenu")->Group, 2);
    EXPECT_EQ(c.FindMenuItemByIdent("ParkForwConstOffMenu")->Name, "Режим работы Вкл/Вкл3с/ДвЗад");
    EXPECT_EQ(c.FindMenuItemByIdent("InitResetOnlyGasParamsMenu")->Group, 0);
    // The "C" of "Cброс2" is a Latin letter on the device.
    const QString reset2 = c.FindMenuItemByCode(48)->Name;
    EXPECT_EQ(reset2.mid(6, 1), "C");
    EXPECT_EQ(reset2.mid(7), "брос2");
}

TEST(MenuItems, JournalSlotCaptions)
{
    EXPECT_EQ(journalSlotCaption(1), "   1     ММ:ЧЧ ДД.ММ");
    EXPECT_EQ(journalSlotCaption(20), "  20     ММ:ЧЧ ДД.ММ");
    const QString zero = journalSlotCaption(0);
    EXPECT_EQ(zero.size(), 20);
    EXPECT_EQ(zero.at(1), QLatin1Char('o')); // Latin
    EXPECT_EQ(zero.mid(4), "     ММ:ЧЧ ДД.ММ");

    const MenuItemCatalog c;
    for (const char *prefix : {"WriteTrip", "ViewTrip", "ViewTank"}) {
        for (int slot = 0; slot <= 20; ++slot) {
            if (slot == 0 && QLatin1String(prefix) == QLatin1String("WriteTrip"))
                continue;
            if (slot == 10 && QLatin1String(prefix) == QLatin1String("ViewTank"))
                continue; // only reachable by code
            const QString ident = QStringLiteral("%1%2Menu").arg(QLatin1String(prefix)).arg(slot);
            const TMKMenuItem *item = c.FindMenuItemByIdent(ident);
            ASSERT_NE(item, nullptr) << ident.toStdString();
            EXPECT_EQ(item->Name, journalSlotCaption(slot)) << ident.toStdString();
            EXPECT_EQ(item->Group, 1);
        }
    }
    EXPECT_EQ(code(c, "WriteTrip1Menu"), 55);
    EXPECT_EQ(code(c, "WriteTrip20Menu"), 74);
    EXPECT_EQ(code(c, "ViewTrip0Menu"), 76);
    EXPECT_EQ(code(c, "ViewTank0Menu"), 98);
    // The tenth refuelling slot carries slot 0's identifier: found by code, never by name.
    EXPECT_EQ(c.FindMenuItemByCode(108)->Ident, QStringLiteral("ViewTank0Menu"));
    EXPECT_EQ(c.FindMenuItemByCode(108)->Name, QStringLiteral("  10     ММ:ЧЧ ДД.ММ"));
    EXPECT_EQ(code(c, "ViewTank20Menu"), 118);
}

TEST(MenuItems, NoVoiceDropsTwoItemsAndShiftsLaterCodes)
{
    const MenuItemCatalog c(flags(true, false));
    EXPECT_EQ(c.items().size(), 167u);
    EXPECT_EQ(c.FindMenuItemByIdent("SoundVolumeMenu"), nullptr);
    EXPECT_EQ(c.FindMenuItemByIdent("SayParamPeriodMenu"), nullptr);
    EXPECT_EQ(code(c, "AlarmPermJournMenu"), 29);
    EXPECT_EQ(code(c, "FlagSoundMenu"), 30);
    EXPECT_EQ(code(c, "apVelMenu"), 31);
    EXPECT_EQ(code(c, "BlocksBoschABSESP9Menu"), 167);
    EXPECT_EQ(c.FindMenuItemByCode(168), nullptr);
    EXPECT_EQ(c.FindMenuItemByCode(37)->Ident, "apGabarMenu"); // 39 in the full catalog
}

TEST(MenuItems, NoAirTemperatureReplacesTheIcyRoadAlarm)
{
    const MenuItemCatalog c(flags(false, true));
    EXPECT_EQ(c.items().size(), 169u);
    EXPECT_EQ(c.FindMenuItemByIdent("apHoloMenu"), nullptr);
    const TMKMenuItem *lights = c.FindMenuItemByIdent("LightsOnMenu");
    ASSERT_NE(lights, nullptr);
    EXPECT_EQ(lights->Code, 37);
    EXPECT_EQ(lights->Name, "Упр.Бл.Свет");
    EXPECT_EQ(lights->Group, 0);

    const MenuItemCatalog both(flags(true, true));
    EXPECT_EQ(code(both, "LightsOnMenu"), 35);
    EXPECT_EQ(both.items().size(), 167u);
}

TEST(MenuItems, LookupsOutsideTheCatalogYieldNothing)
{
    MenuItemCatalog c;
    EXPECT_EQ(c.FindMenuItemByCode(0), nullptr);
    EXPECT_EQ(c.FindMenuItemByCode(170), nullptr);
    EXPECT_EQ(c.FindMenuItemByCode(0xFFFF), nullptr);
    EXPECT_EQ(c.FindMenuItemByIdent(""), nullptr);
    EXPECT_EQ(c.FindMenuItemByIdent("tanklimitmenu"), nullptr); // case-sensitive
    // A rebuild replaces the content.
    c.BuildMenuItems(flags(true, false));
    EXPECT_EQ(c.items().size(), 167u);
    c.BuildMenuItems({});
    EXPECT_EQ(c.items().size(), 169u);
}

TEST(MenuItems, FreshModelHotMenusHoldTheCatalogCodesOfTheirItems)
{
    EXPECT_EQ(defaultMenuItemCode("FlagSoundMenu"), 31);
    EXPECT_EQ(defaultMenuItemCode("NoSuchMenu"), 0);
    const TMK model;
    const Record &s9 = model.record(9);
    std::vector<int> hotMenu;
    for (int i = 0; i < kHotMenuSlotCount; ++i)
        hotMenu.push_back(s9.u16(2 * (kHotMenuFirstSlot + i)));
    EXPECT_EQ(hotMenu,
              (std::vector<int>{2,   3,   31,  15,  6, 8, 0, 28, 0, 0, 52,  47,  48,  53,  97,  0, 0, 0, 0, 0,
                                119, 120, 121, 122, 0, 0, 0, 0,  0, 0, 146, 148, 149, 150, 151, 0, 0, 0, 0, 0}));
}
