// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TMK.h"
#include "settings/AddSystems.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace mk;

namespace {

std::vector<int> codes(const std::vector<AddSystem> &list)
{
    std::vector<int> result;
    for (const AddSystem &s : list)
        result.push_back(s.code);
    return result;
}

bool contains(const std::vector<AddSystem> &list, int code)
{
    const std::vector<int> c = codes(list);
    return std::find(c.begin(), c.end(), code) != c.end();
}

} // namespace

TEST(AddSystems, ListDependsOnCanExtendedAndHybrid)
{
    const auto noCan = buildAddSystemList({false, true, true});
    ASSERT_EQ(noCan.size(), 29u);
    EXPECT_EQ(noCan.front().code, 8);
    EXPECT_EQ(noCan.front().name, QStringLiteral("Иммо АПС-4"));
    EXPECT_EQ(noCan.back().code, 118);

    const auto can = buildAddSystemList({true, false, false});
    EXPECT_FALSE(contains(can, 93));
    EXPECT_FALSE(contains(can, 78));
    EXPECT_EQ(can.size(), 29u + 41u + 37u);
    EXPECT_EQ(can[29].code, 25); // the CAN systems follow the common ones
    EXPECT_EQ(can.back().code, 129);

    const auto extended = buildAddSystemList({true, true, false});
    EXPECT_EQ(extended.front().code, 93);
    EXPECT_EQ(extended.front().name, QStringLiteral("Доп.устройства"));

    const auto hybrid = buildAddSystemList({true, true, true});
    EXPECT_LE(hybrid.size(), 201u);
    const std::vector<int> c = codes(hybrid);
    EXPECT_EQ(std::set<int>(c.begin(), c.end()).size(), c.size());
    const auto at77 = std::find(c.begin(), c.end(), 77);
    ASSERT_NE(at77, c.end());
    EXPECT_EQ(*(at77 + 1), 78); // hybrid systems between the two CAN groups
    EXPECT_EQ(*(at77 + 13), 131);
    EXPECT_EQ(*(at77 + 14), 83);
    for (int code : c)
        EXPECT_GE(code, 8); // byte 0 of the bitmap never carries a system
}

TEST(AddSystems, BitOfACodeInTheBitmap)
{
    Record s4(kRecordSizes[4]);
    setSystemSelected(s4, 93, true);
    EXPECT_EQ(s4.u8(20 + 11), 1 << 5);
    EXPECT_TRUE(isSystemSelected(s4, 93));
    setSystemSelected(s4, 255, true);
    EXPECT_EQ(s4.u8(51), 0x80);
    toggleSystem(s4, 93);
    EXPECT_FALSE(isSystemSelected(s4, 93));
    EXPECT_EQ(s4.u8(51), 0x80);
    toggleSystem(s4, 8);
    EXPECT_EQ(s4.u8(21), 1);
}

TEST(AddSystems, SelectingAllOrByProtocolLeavesUnlistedSystemsAlone)
{
    const auto list = buildAddSystemList({false, false, false});
    Record s4(kRecordSizes[4]);
    s4.setU8(kSystemBitmapOffset, 0x81);
    setSystemSelected(s4, 200, true); // unlisted, set
    // 25 is unlisted without CAN and clear
    selectAllSystems(s4, list);
    for (const AddSystem &s : list)
        EXPECT_TRUE(isSystemSelected(s4, s.code)) << int(s.code);
    EXPECT_TRUE(isSystemSelected(s4, 200));
    EXPECT_FALSE(isSystemSelected(s4, 25));
    EXPECT_EQ(s4.u8(kSystemBitmapOffset), 0x81);

    selectProtocolSystems(s4, list, [](quint8 code) { return code == 22 || code == 23 || code == 25; });
    for (const AddSystem &s : list)
        EXPECT_EQ(isSystemSelected(s4, s.code), s.code == 22 || s.code == 23) << int(s.code);
    EXPECT_TRUE(isSystemSelected(s4, 200));
    EXPECT_FALSE(isSystemSelected(s4, 25));

    selectProtocolSystems(s4, list, {}); // no current protocol: polls nothing
    EXPECT_FALSE(isSystemSelected(s4, 22));
    EXPECT_TRUE(isSystemSelected(s4, 200));
}

TEST(AddSystems, TheTwoDisplayChoicesKeepEachOther)
{
    Record s4(kRecordSizes[4]);
    s4.setU8(kSystemBitmapOffset, 0xFE); // list "По типам", show item 2, bits 2-6 set
    s4.setU8(kSystemBitmapOffset + 1, 0xFF);
    EXPECT_EQ(blocksShow(s4), 2);
    EXPECT_EQ(blocksShowList(s4), 1);

    setBlocksShow(s4, 1);
    EXPECT_EQ(s4.u8(kSystemBitmapOffset), 0x81);
    setBlocksShowList(s4, 0);
    EXPECT_EQ(s4.u8(kSystemBitmapOffset), 0x01);
    setBlocksShowList(s4, 1);
    setBlocksShow(s4, 0);
    EXPECT_EQ(s4.u8(kSystemBitmapOffset), 0x80);

    s4.setU8(kSystemBitmapOffset, 0x7C);
    setBlocksShowList(s4, 1);
    EXPECT_EQ(s4.u8(kSystemBitmapOffset), 0x80); // bits 2-6 cleared
    EXPECT_EQ(s4.u8(kSystemBitmapOffset + 1), 0xFF);
}
