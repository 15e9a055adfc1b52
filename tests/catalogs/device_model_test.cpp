// SPDX-License-Identifier: GPL-3.0-or-later
// The model table: names, feature flags, protocol lists and the current protocol.

#include "base/Error.h"
#include "image/FactoryImage.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

std::vector<int> codes(const DeviceModel &d)
{
    std::vector<int> list;
    for (const TProtBase &p : d.ProtocolList)
        list.push_back(p.Code);
    return list;
}

const TProtBase *byCode(const DeviceModel &d, int code)
{
    for (const TProtBase &p : d.ProtocolList)
        if (p.Code == code)
            return &p;
    return nullptr;
}

} // namespace

struct ListCase
{
    quint16 type;
    int variant;
    std::vector<int> expected;
};

class ProtocolListTest : public ::testing::TestWithParam<ListCase>
{};

TEST_P(ProtocolListTest, ListMatchesTheModelTableInFull)
{
    const ListCase &c = GetParam();
    EXPECT_EQ(codes(SelectDeviceModel(c.type, 0, quint32(c.variant))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtocolListTest,
    ::testing::Values(ListCase{0x0001, 0, {11,  16,  12,  15,  13,  1,   14,  21,  22,  27,  29,  31,  32,  33,  36,
                                           37,  38,  48,  41,  42,  43,  44,  45,  46,  47,  49,  50,  61,  62,  63,
                                           64,  65,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,
                                           95,  81,  96,  101, 103, 104, 105, 111, 113, 112, 116, 117, 118, 121, 122,
                                           123, 124, 125, 126, 127, 128, 131, 132, 139, 141, 142, 151, 152, 255}},
                      ListCase{0x0101, 3, {12,  1,   17,  22,  27,  62,  63,  64,  101, 103, 104, 105, 111,
                                           113, 112, 116, 117, 118, 131, 132, 139, 141, 142, 151, 152, 255}},
                      ListCase{0x0105, 6, {12, 230, 234, 231, 232, 235, 236, 233, 1, 103, 104, 105}},
                      ListCase{0x0201, 9, {41, 44, 45, 61, 102}},
                      ListCase{0x0401, 0, {29, 31, 32, 33, 36, 37, 38, 48, 41, 42,  43,  44,  45, 46,
                                           47, 49, 50, 61, 62, 63, 64, 65, 81, 103, 104, 105, 255}},
                      ListCase{0x0A01, 10, {11, 16, 12, 13, 1,  14, 27, 29, 36,  37,  38,  48,  51,  41, 42,
                                            43, 44, 45, 46, 47, 61, 65, 81, 103, 104, 105, 131, 132, 255}},
                      ListCase{0x0C01, 0, {63, 220}},
                      ListCase{0x8003, 200, {11,  16,  18,  12,  230, 234, 231, 232, 235, 236, 233, 15,  13,  1,
                                             17,  14,  21,  22,  27,  29,  31,  32,  33,  36,  37,  38,  48,  51,
                                             41,  42,  43,  44,  45,  46,  47,  49,  50,  61,  62,  63,  64,  65,
                                             82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,
                                             81,  96,  101, 103, 104, 105, 111, 113, 112, 116, 117, 118, 121, 122,
                                             123, 124, 125, 126, 127, 128, 131, 132, 139, 141, 142, 151, 152, 255}}),
    [](const ::testing::TestParamInfo<ListCase> &info) {
        return "Type" + std::to_string(info.param.type) + "Variant" + std::to_string(info.param.variant);
    });

TEST(DeviceModel, TheThreeUnnamedTypesOfferTheirProtocolCounts)
{
    const DeviceModel a = SelectDeviceModel(32769, 0, 0);
    const DeviceModel b = SelectDeviceModel(32770, 0, 0);
    const DeviceModel c = SelectDeviceModel(32771, 0, 7);
    EXPECT_EQ(a.ProtocolList.size(), 77u);
    EXPECT_EQ(b.ProtocolList.size(), 78u);
    EXPECT_EQ(c.ProtocolList.size(), 84u);
    EXPECT_TRUE(a.ModelName.isEmpty() && b.ModelName.isEmpty() && c.ModelName.isEmpty());
    EXPECT_EQ(b.Flags.names(),
              QStringList({"SecondTank", "ExtendedSystems", "Supply24V", "AddSystems", "Taximeter", "Oscilloscope"}));
    EXPECT_FALSE(a.Flags.ExtendedSystems || a.Flags.Supply24V || c.Flags.ExtendedSystems || c.Flags.Supply24V);
    const std::vector<int> list = codes(b);
    EXPECT_EQ(std::vector<int>(list.begin(), list.begin() + 4), (std::vector<int>{11, 16, 18, 12}));
    EXPECT_EQ(list.back(), 255);
}

TEST(DeviceModel, NamesAndFlagsOfRows)
{
    for (quint32 v : {0u, 1u, 6u, 255u})
        EXPECT_EQ(SelectDeviceModel(260, 0, v).ModelName, "QZ-12Bi") << v;
    EXPECT_EQ(SelectDeviceModel(257, 0, 3).ModelName, "qZ-12_A");
    EXPECT_EQ(SelectDeviceModel(3073, 0, 0).ModelName, "QZ-71B_WS");
    EXPECT_TRUE(SelectDeviceModel(3073, 0, 0).Flags.ServiceInThousands);

    const DeviceModel unnamed = SelectDeviceModel(2049, 0, 3);
    EXPECT_TRUE(unnamed.ModelName.isEmpty());
    EXPECT_EQ(unnamed.Flags.names(),
              QStringList({"NoVoice", "LightsControl", "NoDSSwitch", "SecondTank", "Oscilloscope"}));
    EXPECT_TRUE(unnamed.ProtocolList.empty());

    const DeviceModel w = SelectDeviceModel(2561, 0, 10);
    EXPECT_EQ(w.ModelName, "QZ-71B_W");
    EXPECT_FALSE(w.Flags.Taximeter || w.Flags.Oscilloscope);
    for (quint32 v : {0u, 1u, 2u, 4u, 5u}) {
        const DeviceModel d = SelectDeviceModel(2561, 0, v);
        EXPECT_TRUE(d.Flags.Taximeter && d.Flags.Oscilloscope) << v;
    }

    // Variants between rows and types without a row have nothing.
    for (auto [type, variant] : {std::pair{2, 0}, std::pair{1, 6}, std::pair{1297, 3}, std::pair{261, 0}}) {
        const DeviceModel d = SelectDeviceModel(quint16(type), 0, quint32(variant));
        EXPECT_TRUE(d.ModelName.isEmpty()) << type;
        EXPECT_EQ(d.Flags, FeatureFlags{}) << type;
        EXPECT_TRUE(d.ProtocolList.empty()) << type;
        EXPECT_EQ(CurrentProtocol(d), nullptr);
    }
}

TEST(DeviceModel, LampControlAddsCode34ToEveryProtocolOnlyWithAnAirTemperatureInput)
{
    for (quint16 type : {2049, 2305}) {
        const DeviceModel d = SelectDeviceModel(type, 0, 0);
        ASSERT_FALSE(d.ProtocolList.empty());
        for (const TProtBase &p : d.ProtocolList)
            EXPECT_EQ(p.ParamCodes.back(), 34) << type << " " << p.Code;
    }
    // QZ-51B switches the lamps but has no air-temperature input: code 11 covers the lamps.
    for (const TProtBase &p : SelectDeviceModel(1537, 0, 0).ProtocolList)
        EXPECT_EQ(std::count(p.ParamCodes.begin(), p.ParamCodes.end(), 34), 0);
}

TEST(DeviceModel, AlternativeDefinitionsFollowTheModel)
{
    const DeviceModel withExtended = SelectDeviceModel(32770, 0, 0);
    const DeviceModel without = SelectDeviceModel(32769, 0, 0);
    const TProtBase *extended = byCode(withExtended, 14);
    const TProtBase *plain = byCode(without, 14);
    ASSERT_TRUE(extended && plain);
    EXPECT_EQ(extended->Name, "J1939");
    EXPECT_EQ(extended->ParamCount(), 16 + 11);
    EXPECT_TRUE(extended->GearboxOilTemp && extended->EngineOilTemp && extended->BatterySource);
    EXPECT_EQ(plain->ParamCount(), 16 + 5);
    EXPECT_FALSE(plain->GearboxOilTemp || plain->EngineOilTemp);

    const DeviceModel bosch = SelectDeviceModel(3073, 0, 0);
    const DeviceModel other = SelectDeviceModel(1, 0, 0);
    EXPECT_EQ(byCode(bosch, 63)->Name, "Bosch");
    EXPECT_EQ(byCode(other, 63)->Name, "Tiggo");
    EXPECT_EQ(byCode(other, 63)->ParamCodes, byCode(bosch, 63)->ParamCodes);
}

TEST(DeviceModel, IsProtocolSystemAsksTheCurrentProtocol)
{
    // J1939 is at index 8 of 32769's list and index 8 of 32770's.
    const DeviceModel plain = SelectDeviceModel(32769, 8, 0);
    const DeviceModel extended = SelectDeviceModel(32770, 8, 0);
    ASSERT_EQ(CurrentProtocol(plain)->Code, 14);
    ASSERT_EQ(CurrentProtocol(extended)->Code, 14);
    EXPECT_FALSE(IsProtocolSystem(plain, 93));
    EXPECT_TRUE(IsProtocolSystem(extended, 93));
    EXPECT_TRUE(IsProtocolSystem(plain, 22));
    EXPECT_FALSE(IsProtocolSystem(SelectDeviceModel(2049, 0, 3), 22));
}

TEST(DeviceModel, AProtocolIndexPastTheListLeavesNoCurrentProtocol)
{
    DeviceModel d = SelectDeviceModel(0x0C01, 1, 0);
    ASSERT_NE(CurrentProtocol(d), nullptr);
    EXPECT_EQ(CurrentProtocol(d)->Code, 220);
    EXPECT_EQ(currentProtocolIndex(d), 1);

    d = SelectDeviceModel(0x0C01, 2, 0);
    EXPECT_EQ(CurrentProtocol(d), nullptr);
    EXPECT_EQ(currentProtocolIndex(d), -1);
    EXPECT_FALSE(IsProtocolSystem(d, 8));

    EXPECT_TRUE(setCurrentProtocol(d, 0));
    EXPECT_EQ(CurrentProtocol(d)->Name, "Bosch");
    EXPECT_FALSE(setCurrentProtocol(d, -1));
    EXPECT_EQ(CurrentProtocol(d), nullptr);

    // Copies keep pointing into their own list.
    setCurrentProtocol(d, 1);
    const DeviceModel copy = d;
    EXPECT_EQ(CurrentProtocol(copy), &copy.ProtocolList[1]);

    EXPECT_EQ(CurrentProtocol(SelectDeviceModel(2049, 255, 3)), nullptr);
}

TEST(DeviceModel, ValuesAboveAByteAreRangeErrors)
{
    EXPECT_THROW(SelectDeviceModel(1, 256, 0), RangeError);
    EXPECT_THROW(SelectDeviceModel(1, 0, 256), RangeError);
    EXPECT_NO_THROW(SelectDeviceModel(1, 255, 255));
}

TEST(DeviceModel, LookupFromALoadedModel)
{
    TMK tmk;
    tmk.replaceImage(0x0801, makeFactoryImage(0x0801, 1, 8192));
    tmk.record(10).setU16(4, 3);
    const DeviceModel d = SelectDeviceModel(tmk);
    EXPECT_EQ(d.ModelName, "QZ-61B_R");
    ASSERT_NE(CurrentProtocol(d), nullptr);
    EXPECT_EQ(CurrentProtocol(d)->Code, 48);
}

TEST(ProtocolSelectMethods, ListDependsOnTheGroupsOffered)
{
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(1, 0, 0)),
              QStringList({"Авт.", "АвтOBD", "АвтVAG", "АвтOpl", "Руч."}));
    // No OBD-II group: only the automatic and the manual choice.
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(3073, 0, 0)), QStringList({"Авт.", "Руч."}));
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(2049, 0, 3)), QStringList({"Авт.", "Руч."}));
    // The alternative OBD-II set counts as the group; no VAG without automatic VAG search.
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(513, 0, 0)), QStringList({"Авт.", "АвтOBD", "Руч."}));
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(1025, 0, 0)), QStringList({"Авт.", "АвтOBD", "Руч."}));
    EXPECT_EQ(ProtocolSelectMethods(SelectDeviceModel(1, 0, 4)), QStringList({"Авт.", "АвтOBD", "АвтOpl", "Руч."}));
}

TEST(ProtocolControls, FollowTheCurrentProtocol)
{
    // Index 8 is J1939 on both unnamed types; only 32770 has the extended systems.
    const ProtocolControls plain = protocolControls(SelectDeviceModel(32769, 8, 0));
    const ProtocolControls extended = protocolControls(SelectDeviceModel(32770, 8, 0));
    EXPECT_FALSE(plain.retarder || plain.cvtWearAlarm || plain.cvtWearLimit);
    EXPECT_TRUE(extended.retarder && extended.cvtWearAlarm);
    EXPECT_FALSE(extended.cvtWearLimit);
    EXPECT_TRUE(plain.batterySource && plain.coolantAlarms && plain.errorAlarm);

    const ProtocolControls can = protocolControls(SelectDeviceModel(32769, 6, 0));
    EXPECT_TRUE(can.cvtWearLimit && can.cvtWearAlarm && can.gearboxOilTemp);
    EXPECT_FALSE(can.retarder || can.fanControl);
    EXPECT_EQ(can.ventTempMin, 75);

    // A hybrid shows the fan temperature with its own range.
    const ProtocolControls hybrid = protocolControls(SelectDeviceModel(32771, 4, 0));
    EXPECT_TRUE(hybrid.hybrid && hybrid.fanControl);
    EXPECT_EQ(hybrid.ventTempMin, 25);
    EXPECT_EQ(hybrid.ventTempMax, 60);

    const ProtocolControls vag = protocolControls(SelectDeviceModel(1, 32, 0));
    EXPECT_TRUE(vag.sootFilterLimit);

    const ProtocolControls universal = protocolControls(SelectDeviceModel(1, 73, 0));
    EXPECT_FALSE(universal.coolantAlarms || universal.errorAlarm);

    const ProtocolControls none = protocolControls(SelectDeviceModel(2049, 0, 3));
    EXPECT_FALSE(none.coolantAlarms || none.errorAlarm || none.fanControl);
}
