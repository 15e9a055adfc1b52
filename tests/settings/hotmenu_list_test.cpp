// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TMK.h"
#include "settings/HotMenuAddMenu.h"
#include "settings/HotMenuList.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace mk;

namespace {

Record withList(int list, const HotMenu &entries)
{
    Record s9(kRecordSizes[9]);
    writeHotMenu(s9, list, entries);
    return s9;
}

const HotMenu kFull = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

} // namespace

TEST(HotMenuList, ListsLieAtTheirOffsets)
{
    Record s9(kRecordSizes[9]);
    s9.setU16(124 + 2 * (10 * 2 + 3), 77); // list 2, entry 3
    EXPECT_EQ(readHotMenu(s9, 2)[3], 77);
    writeHotMenu(s9, 3, kFull);
    EXPECT_EQ(s9.u16(124 + 60), 11);
    EXPECT_EQ(s9.u16(124 + 78), 20);
    EXPECT_EQ(s9.u16(204), 0); // the byte after the last list is not touched
}

TEST(HotMenuList, CompactionClosesGapsInEveryList)
{
    Record s9 = withList(1, {5, 0, 7, 0, 0, 9, 0, 0, 0, 4});
    writeHotMenu(s9, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 8});
    writeHotMenu(s9, 0, {1, 2, 3});
    const Record before = s9;
    EXPECT_TRUE(compactHotMenus(s9));
    EXPECT_EQ(readHotMenu(s9, 1), (HotMenu{5, 7, 9, 4}));
    EXPECT_EQ(readHotMenu(s9, 3), (HotMenu{8}));
    EXPECT_EQ(readHotMenu(s9, 0), (HotMenu{1, 2, 3}));
    EXPECT_EQ(s9.raw(0, 124), before.raw(0, 124));
    EXPECT_EQ(s9.raw(204, s9.size() - 204), before.raw(204, s9.size() - 204));
    EXPECT_FALSE(compactHotMenus(s9)); // already compact: nothing to write back
}

TEST(HotMenuList, InsertShiftsTheRestDown)
{
    Record s9 = withList(2, kFull);
    insertHotMenuItem(s9, 2, 3, 99);
    EXPECT_EQ(readHotMenu(s9, 2), (HotMenu{11, 12, 13, 99, 14, 15, 16, 17, 18, 19}));

    s9 = withList(2, kFull);
    insertHotMenuItem(s9, 2, 9, 99);
    EXPECT_EQ(readHotMenu(s9, 2), (HotMenu{11, 12, 13, 14, 15, 16, 17, 18, 19, 99}));

    s9 = withList(0, {1, 2});
    insertHotMenuItem(s9, 0, 0, 99);
    EXPECT_EQ(readHotMenu(s9, 0), (HotMenu{99, 1, 2}));
    EXPECT_EQ(readHotMenu(s9, 1), HotMenu{});
}

TEST(HotMenuList, DeleteAndClear)
{
    Record s9 = withList(1, {31, 32, 33});
    deleteHotMenuItem(s9, 1, 0);
    compactHotMenus(s9);
    EXPECT_EQ(readHotMenu(s9, 1), (HotMenu{32, 33}));

    writeHotMenu(s9, 0, kFull);
    clearHotMenu(s9, 1);
    EXPECT_EQ(readHotMenu(s9, 1), HotMenu{});
    EXPECT_EQ(readHotMenu(s9, 0), kFull);
}

TEST(HotMenuList, DragMovesOneEntryAndShiftsTheOnesBetween)
{
    Record s9 = withList(0, {10, 11, 12, 13, 14, 15});
    moveHotMenuItem(s9, 0, 0, 4);
    EXPECT_EQ(readHotMenu(s9, 0), (HotMenu{11, 12, 13, 14, 10, 15}));

    s9 = withList(0, {10, 11, 12, 13, 14, 15});
    moveHotMenuItem(s9, 0, 4, 0);
    EXPECT_EQ(readHotMenu(s9, 0), (HotMenu{14, 10, 11, 12, 13, 15}));

    s9 = withList(3, kFull);
    moveHotMenuItem(s9, 3, 9, 8);
    EXPECT_EQ(readHotMenu(s9, 3), (HotMenu{11, 12, 13, 14, 15, 16, 17, 18, 20, 19}));
}

TEST(HotMenuList, RowsOrListsOutsideTheMenusChangeNothing)
{
    Record s9 = withList(0, kFull);
    const Record before = s9;
    insertHotMenuItem(s9, 0, 10, 5);
    insertHotMenuItem(s9, 4, 0, 5);
    insertHotMenuItem(s9, -1, 0, 5);
    deleteHotMenuItem(s9, 0, -1);
    deleteHotMenuItem(s9, 0, 10);
    clearHotMenu(s9, 4);
    moveHotMenuItem(s9, 0, 0, 10);
    moveHotMenuItem(s9, 0, -1, 3);
    moveHotMenuItem(s9, 0, 4, 4);
    EXPECT_EQ(s9, before);
    EXPECT_EQ(readHotMenu(s9, 7), HotMenu{});
}

namespace {

QStringList flatten(const std::vector<HotMenuAddEntry> &entries)
{
    QStringList idents;
    for (const HotMenuAddEntry &e : entries)
        idents += e.isSubMenu() ? flatten(e.children) : QStringList{e.ident};
    return idents;
}

} // namespace

TEST(HotMenuAddMenu, AirTemperatureInputDecidesLampOrIcyRoad)
{
    const QStringList with = flatten(hotMenuAddEntries(0, false));
    const QStringList without = flatten(hotMenuAddEntries(0, true));
    EXPECT_TRUE(with.contains("apHoloMenu"));
    EXPECT_FALSE(with.contains("LightsOnMenu"));
    EXPECT_FALSE(without.contains("apHoloMenu"));
    EXPECT_EQ(without.indexOf("LightsOnMenu"), without.indexOf("TankMethMenu") + 1);
    EXPECT_EQ(with.size(), without.size());
}

TEST(HotMenuAddMenu, JournalSlotsAndTariffs)
{
    const std::vector<HotMenuAddEntry> averages = hotMenuAddEntries(1, false);
    ASSERT_EQ(averages.size(), 11u);
    const HotMenuAddEntry &trips = averages[8];
    ASSERT_TRUE(trips.isSubMenu());
    EXPECT_EQ(trips.caption, QStringLiteral("Журнал поездок"));
    ASSERT_EQ(trips.children.size(), 5u);
    EXPECT_EQ(trips.children[2].children.size(), 20u);
    EXPECT_EQ(trips.children[2].children.back().ident, QStringLiteral("WriteTrip20Menu"));
    EXPECT_EQ(trips.children[4].children.size(), 21u);
    EXPECT_EQ(trips.children[4].children.front().ident, QStringLiteral("ViewTrip0Menu"));
    EXPECT_EQ(averages[10].children.size(), 21u);

    const QStringList taximeter = flatten(hotMenuAddEntries(2, false));
    EXPECT_EQ(taximeter.size(), 27);
    EXPECT_EQ(taximeter[7], QStringLiteral("TaxTimeTarif0DayMenu"));
    EXPECT_EQ(taximeter.back(), QStringLiteral("TaxPathTarif4NightMenu"));

    EXPECT_EQ(flatten(hotMenuAddEntries(3, false)).size(), 10);
    EXPECT_TRUE(hotMenuAddEntries(4, false).empty());
}
