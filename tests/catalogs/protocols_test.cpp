// SPDX-License-Identifier: GPL-3.0-or-later
// Protocol descriptions: parameter and system codes, selectors, option flags, tank sources.

#include "catalogs/Prots.h"
#include "image/ImageDeviceModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

std::vector<quint8> ownCodesThen(std::initializer_list<int> extra)
{
    std::vector<quint8> list;
    for (int c = 1; c <= 16; ++c)
        list.push_back(quint8(c));
    for (int c : extra)
        list.push_back(quint8(c));
    return list;
}

// The model with the most protocols holds every definition except the alternatives.
const DeviceModel &all()
{
    static const DeviceModel d = SelectDeviceModel(32771, 0, 0);
    return d;
}

const TProtBase &protocol(int code)
{
    for (const TProtBase &p : all().ProtocolList)
        if (p.Code == code)
            return p;
    static const TProtBase none(QString(), 0, 0);
    ADD_FAILURE() << "no protocol " << code;
    return none;
}

} // namespace

TEST(TProtBase, ConstructorPutsTheOwnCodesFirstAndSkipsZeros)
{
    TProtBase p(QStringLiteral("X"), 7, 2, {17, 0, 20}, {8, 10});
    EXPECT_EQ(p.ParamCodes, ownCodesThen({17, 20}));
    EXPECT_EQ(p.ParamCount(), 18);
    EXPECT_EQ(p.SystemCodes, (std::vector<quint8>{8, 10}));
    EXPECT_TRUE(p.CoolantAlarms && p.ErrorAlarm);
    EXPECT_EQ(p.optionNames(), QStringList({"CoolantAlarms", "ErrorAlarm"}));
    EXPECT_EQ(p.EcuTankChannels, 0);
    for (int s = 0; s < kSubTypeSelectorCount; ++s) {
        EXPECT_EQ(p.SubTypeCount[size_t(s)], 0);
        EXPECT_TRUE(p.offeredItems(s).isEmpty());
    }
    EXPECT_EQ(p.SubTypeItems[0], QStringList({"Авто", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(p.SubTypeItems[1].size(), 10);
    EXPECT_EQ(p.SubTypeItems[4].size(), 13);
    EXPECT_EQ(p.SubTypeItems[4].last(), "13");

    p.AddParam(0);
    p.AddParam(34);
    EXPECT_EQ(p.ParamCodes.back(), 34);
    EXPECT_EQ(p.ParamCount(), 19);
    for (int i = 0; i < 200; ++i)
        p.AddParam(1);
    EXPECT_EQ(p.ParamCount(), kMaxProtocolCodes);
}

TEST(TProtBase, SelectorsOverwriteTheDefaultItemsFromTheStart)
{
    TProtBase p(QStringLiteral("X"), 7, 0);
    p.setSelector(1, QStringLiteral("Тип"), {QStringLiteral("4"), QStringLiteral("1")});
    EXPECT_EQ(p.SubTypeCount[1], 2);
    EXPECT_EQ(p.offeredItems(1), QStringList({"4", "1"}));
    EXPECT_EQ(p.SubTypeItems[1][2], "3");
    EXPECT_TRUE(p.offeredItems(8).isEmpty());
    EXPECT_TRUE(p.offeredItems(-1).isEmpty());
}

TEST(Protocols, FirstDefinitionInFull)
{
    const TProtBase &p = all().ProtocolList.front();
    EXPECT_EQ(p.Name, "M74CAN");
    EXPECT_EQ(p.Code, 11);
    EXPECT_EQ(p.ErrorCodeFormat, 1);
    EXPECT_EQ(p.EcuTankChannels, 2);
    EXPECT_EQ(p.ParamCodes, ownCodesThen({17, 18, 25, 20, 33, 22, 23, 24, 36, 37, 19}));
    EXPECT_EQ(p.SystemCodes,
              (std::vector<quint8>{8, 10, 11, 15, 25, 27, 77, 28, 29, 30, 36, 37, 55, 56, 57, 58, 59, 60, 76, 83}));
    EXPECT_EQ(p.optionNames(),
              QStringList({"CoolantAlarms", "ErrorAlarm", "GearboxOilTemp", "FanControl", "SideLights"}));
    EXPECT_EQ(p.SubTypeCaption[1], "Канал включения вентилятора");
    EXPECT_EQ(p.offeredItems(1), QStringList({"1", "2", "1+2"}));
    EXPECT_EQ(p.SubTypeCaption[4], "Темп. масла АКПП");
    EXPECT_EQ(p.offeredItems(4), QStringList({"Нет", "Jatco", "ZF 2180"}));
    for (int s : {0, 2, 3, 5, 6, 7})
        EXPECT_EQ(p.SubTypeCount[size_t(s)], 0) << s;
}

TEST(Protocols, EmptyExtraCodesOfferOnlyTheOwnCodes)
{
    EXPECT_EQ(protocol(96).Name, "VAG CE");
    EXPECT_EQ(protocol(96).ParamCodes, ownCodesThen({}));
    EXPECT_FALSE(protocol(96).CoolantAlarms);
    EXPECT_TRUE(protocol(96).ErrorAlarm);
    EXPECT_EQ(protocol(255).Name, "Универс.");
    EXPECT_EQ(protocol(255).ParamCodes, ownCodesThen({}));
    EXPECT_TRUE(protocol(255).optionNames().isEmpty());
    EXPECT_EQ(protocol(255).SystemCount(), 0);
}

TEST(Protocols, ErrorFormats)
{
    EXPECT_EQ(protocol(27).ErrorCodeFormat, kNoErrorCodeText);
    EXPECT_EQ(protocol(255).ErrorCodeFormat, kNoErrorCodeText);
    EXPECT_FALSE(protocol(27).ErrorAlarm);
    EXPECT_TRUE(protocol(27).CoolantAlarms);
    EXPECT_EQ(protocol(14).ErrorCodeFormat, 5);
    EXPECT_EQ(protocol(37).ErrorCodeFormat, 7);
    EXPECT_EQ(protocol(82).ErrorCodeFormat, 8);
    EXPECT_EQ(protocol(116).ErrorCodeFormat, 9);
    EXPECT_EQ(protocol(64).ErrorCodeFormat, 4);
    EXPECT_EQ(protocol(29).ErrorCodeFormat, 3);
}

TEST(Protocols, SharedPresetsAndLongItemLists)
{
    const TProtBase &full = protocol(232); // Prius3.0: the long gearbox list
    EXPECT_EQ(full.offeredItems(1), QStringList({"4", "1"}));
    const QStringList gearbox = full.offeredItems(4);
    ASSERT_EQ(gearbox.size(), 39);
    EXPECT_EQ(gearbox.first(), "Нет");
    EXPECT_EQ(gearbox[7], "HovH5,St");
    EXPECT_EQ(gearbox.last(), "TCU");
    EXPECT_EQ(protocol(1).offeredItems(4), gearbox);
    EXPECT_EQ(protocol(1).offeredItems(2), QStringList({"1", "2", "Круиз", "4", "5D", "DustD"}));
    EXPECT_EQ(protocol(12).offeredItems(4), QStringList({"Нет", "Toy9-", "Toy10+", "Toy3"}));
    EXPECT_TRUE(protocol(12).GearboxOilTemp);
    // Items keep their exact spacing.
    EXPECT_EQ(protocol(132).offeredItems(0), QStringList({"K20E3", "K20E4", "R27E3", "R27E4", "R27  "}));
    EXPECT_EQ(protocol(132).SubTypeCaption[0], "Тип протокола");
    EXPECT_EQ(protocol(103).offeredItems(0), QStringList({"Авто", "1", "2", "3", "4", "5"}));
}

TEST(Protocols, HybridsAndNames)
{
    for (int code : {230, 231, 232, 233, 234, 235, 236})
        EXPECT_TRUE(protocol(code).Hybrid) << code;
    EXPECT_FALSE(protocol(12).Hybrid);
    EXPECT_EQ(protocol(231).Name, "Prius2.0");
    // Two protocols share a name but not a code.
    EXPECT_EQ(protocol(233).Name, "Lex RX400H");
    EXPECT_EQ(protocol(235).Name, "Lex RX400H");
    EXPECT_EQ(protocol(18).Name, "УАЗ 17971E5");
    EXPECT_EQ(protocol(15).SubTypeCaption[3], "Тип дросселя");
    EXPECT_EQ(protocol(15).optionNames(),
              QStringList({"CoolantAlarms", "ErrorAlarm", "GearboxOilTemp", "EngineOilTemp", "SideLights"}));
    EXPECT_EQ(protocol(1).SystemCount(), 54);
    EXPECT_EQ(protocol(1).SystemCodes.back(), 129);
}

TEST(Protocols, TankSourcesFollowTheEcuChannels)
{
    EXPECT_EQ(TankMethItems(nullptr), QStringList({"Расчетный", "ДУТ"}));
    EXPECT_EQ(TankMethItems(&protocol(18)), QStringList({"Расчетный", "ДУТ"}));
    EXPECT_EQ(TankMethItems(&protocol(12)), QStringList({"Расчетный", "ДУТ", "ДУТ ЭБУ"}));
    EXPECT_EQ(TankMethItems(&protocol(11)), QStringList({"Расчетный", "ДУТ", "ДУТ ЭБУ", "ДУТ ЭБУ2"}));
    EXPECT_EQ(TankMethItems(&protocol(16)), QStringList({"Расчетный", "ДУТ", "ДУТ ЭБУ", "ДУТ ЭБУ2", "ДУТ ЭБУ3"}));
}
