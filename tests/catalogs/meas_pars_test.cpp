// SPDX-License-Identifier: GPL-3.0-or-later
// The measured-parameter catalog: the code-11/34 rule, sample texts, PrepareData, lookups.

#include "catalogs/MeasPars.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace mk;

namespace {

FeatureFlags flags(bool noAirTempInput, bool lightsControl)
{
    FeatureFlags f;
    f.NoAirTempInput = noAirTempInput;
    f.LightsControl = lightsControl;
    return f;
}

std::vector<int> codes(const MeasParCatalog &c)
{
    std::vector<int> list;
    for (const TMeasParBase &p : c.entries())
        list.push_back(p.Code);
    return list;
}

TMeasParBase prepared(const MeasParCatalog &c, quint8 code)
{
    const TMeasParBase *p = c.FindMeasPar(code);
    EXPECT_NE(p, nullptr) << int(code);
    TMeasParBase copy = p ? *p : TMeasParBase{};
    copy.PrepareData();
    return copy;
}

} // namespace

TEST(MeasPars, TableHasEveryEntryInCatalogOrder)
{
    const std::vector<TMeasParBase> &all = allMeasParEntries();
    ASSERT_EQ(all.size(), 54u);
    EXPECT_EQ(all.front().ClassName, "TVelocity");
    EXPECT_EQ(all[3].ClassName, "TMomentaryExpenseK");
    EXPECT_EQ(all[34].ClassName, "TDDK");
    EXPECT_EQ(all.back().ClassName, "TInvTemper");
    // Codes 1..54 without 40; only 11 appears twice.
    std::multiset<int> seen;
    for (const TMeasParBase &p : all)
        seen.insert(p.Code);
    for (int code = 1; code <= 54; ++code)
        EXPECT_EQ(seen.count(code), code == 40 ? 0u : code == 11 ? 2u : 1u) << code;
}

TEST(MeasPars, CatalogWithoutLampControlHasAirTemperatureOnly)
{
    const MeasParCatalog c(flags(false, false));
    EXPECT_EQ(c.entries().size(), 52u);
    ASSERT_NE(c.FindMeasPar(11), nullptr);
    EXPECT_EQ(c.FindMeasPar(11)->ClassName, "TTemperAir");
    EXPECT_EQ(c.FindMeasPar(11)->Name, "Твоздуха");
    EXPECT_EQ(c.FindMeasPar(34), nullptr);
    const std::vector<int> list = codes(c);
    EXPECT_EQ(std::vector<int>(list.begin(), list.begin() + 12),
              (std::vector<int>{12, 13, 16, 14, 15, 10, 8, 9, 7, 11, 17, 18}));
    EXPECT_EQ(list, codes(MeasParCatalog()));
}

TEST(MeasPars, Code11AndCode34FollowTheModel)
{
    // No air-temperature input and no lamp control: neither code exists.
    const MeasParCatalog none(flags(true, false));
    EXPECT_EQ(none.FindMeasPar(11), nullptr);
    EXPECT_EQ(none.FindMeasPar(34), nullptr);
    EXPECT_EQ(none.entries().size(), 51u);

    // No air-temperature input, lamp control: code 11 is the lamp, in the air temperature's place.
    const MeasParCatalog lamp11(flags(true, true));
    ASSERT_NE(lamp11.FindMeasPar(11), nullptr);
    EXPECT_EQ(lamp11.FindMeasPar(11)->ClassName, "TLightsFlag");
    EXPECT_EQ(lamp11.FindMeasPar(11)->Name, "Упр.БСвет");
    EXPECT_EQ(lamp11.FindMeasPar(34), nullptr);
    EXPECT_EQ(lamp11.entries()[9].ClassName, "TLightsFlag");

    // Air temperature and lamp control: 11 is the air, 34 the lamp, right after TDDK.
    const MeasParCatalog both(flags(false, true));
    EXPECT_EQ(both.entries().size(), 53u);
    EXPECT_EQ(both.FindMeasPar(11)->Name, "Твоздуха");
    ASSERT_NE(both.FindMeasPar(34), nullptr);
    EXPECT_EQ(both.FindMeasPar(34)->ClassName, "TLightsFlag1");
    EXPECT_EQ(both.FindMeasPar(34)->Name, "Упр.БСвет");
    const std::vector<int> list = codes(both);
    const auto ddk = std::find(list.begin(), list.end(), 32);
    ASSERT_NE(ddk, list.end());
    EXPECT_EQ(*(ddk + 1), 34);
    EXPECT_EQ(*(ddk + 2), 35);
}

TEST(MeasPars, UnknownCodesYieldNothing)
{
    const MeasParCatalog c;
    for (int code : {0, 40, 55, 100, 255})
        EXPECT_EQ(c.FindMeasPar(quint8(code)), nullptr) << code;
    ASSERT_NE(c.FindMeasPar(54), nullptr);
    EXPECT_EQ(c.FindMeasPar(54)->ClassName, "TInvTemper");
}

TEST(MeasPars, SampleTexts)
{
    const MeasParCatalog c;
    const std::vector<std::pair<int, QString>> expected = {
        {12, " 60"},                 // integer, width 3
        {13, "2000"},                // integer, width 4
        {16, "5.00"},                // 500/100 in three places: the width does not cut it
        {14, " 10.0"},               // 100/10, width 5
        {15, "  100"},               // integer sample although it has two decimals
        {10, "14.0"},  {7, "15:30"}, // literal
        {1, " 1:15"},  {5, "23.45"}, {28, "1.00"}, {25, " 10.0"}, {26, " 1.0"}, {37, "0"}, // width 1
        {42, "10000"}, {45, "-20"},  {48, " 3"},   {53, "   40"}, // one decimal, but an integer sample in five places
    };
    for (const auto &[code, text] : expected) {
        ASSERT_NE(c.FindMeasPar(quint8(code)), nullptr) << code;
        EXPECT_EQ(c.FindMeasPar(quint8(code))->SampleText, text) << code;
    }
    EXPECT_EQ(c.FindMeasPar(16)->Width, 5);
    EXPECT_EQ(c.FindMeasPar(16)->SampleValue, 500);
    EXPECT_EQ(c.FindMeasPar(7)->SampleValue, 0);
}

TEST(MeasPars, PrepareDataWritesTheRangeWithTheEntrysDecimals)
{
    const MeasParCatalog c;
    EXPECT_TRUE(c.FindMeasPar(18)->MinText.isEmpty());
    const struct
    {
        int code;
        QString min, max;
    } expected[] = {
        {18, "0.0", "240.0"},  {25, "-84.0", "84.0"}, {12, "0", "240"},  {53, "-200.0", "200.0"},
        {16, "0.00", "24.00"}, {15, "0.00", "8.00"},  {11, "-20", "60"}, {1, "0", "100"},
    };
    for (const auto &e : expected) {
        const TMeasParBase p = prepared(c, quint8(e.code));
        EXPECT_EQ(p.MinText, e.min) << e.code;
        EXPECT_EQ(p.MaxText, e.max) << e.code;
    }
    const TMeasParBase current = prepared(c, 53);
    EXPECT_EQ(current.AxisMin, -2000);
    EXPECT_EQ(current.AxisMax, 2000);
}

TEST(MeasPars, MomentaryConsumptionSwitchesToItsWideScaleWhenPrepared)
{
    MeasParCatalog c;
    TMeasParBase *p = c.FindMeasPar(14);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->MaxValue, 240);
    EXPECT_EQ(p->AxisMax, 24);
    EXPECT_FALSE(p->WideScale);
    EXPECT_TRUE(p->GaugeMark);
    p->PrepareData();
    EXPECT_TRUE(p->WideScale);
    EXPECT_EQ(p->MinValue, 0);
    EXPECT_EQ(p->MaxValue, 800);
    EXPECT_EQ(p->AxisMin, 0);
    EXPECT_EQ(p->AxisMax, 80);
    EXPECT_EQ(p->MinText, "0.0");
    EXPECT_EQ(p->MaxText, "80.0");
    // Only this entry has the marker and the wide scale.
    for (TMeasParBase other : c.entries()) {
        if (other.Code == 14)
            continue;
        other.PrepareData();
        EXPECT_FALSE(other.GaugeMark || other.WideScale) << int(other.Code);
    }
    // A rebuild starts from the narrow range again.
    c.rebuild({});
    EXPECT_EQ(c.FindMeasPar(14)->MaxValue, 240);
}

TEST(MeasPars, SpotValuesAndTexts)
{
    const MeasParCatalog c;
    const TMeasParBase &rev = *c.FindMeasPar(13);
    EXPECT_EQ(rev.ClassName, "TRevolutions");
    EXPECT_EQ(rev.AxisMax, 8);
    EXPECT_EQ(rev.GaugeKind, 1);
    EXPECT_EQ(rev.GaugeUnit, "x1000");
    EXPECT_EQ(rev.LongCaption, "Обороты двиг,об/мин");
    EXPECT_EQ(rev.GraphCaption, "Обороты,об/мин");

    const TMeasParBase &oil = *c.FindMeasPar(8);
    EXPECT_EQ(oil.Graphable, 0);
    EXPECT_EQ(oil.AxisMax, 100);
    EXPECT_TRUE(oil.GaugeName.isEmpty() && oil.GraphCaption.isEmpty());
    EXPECT_EQ(oil.CellName, "Бак");

    const TMeasParBase &fuel = *c.FindMeasPar(35);
    EXPECT_EQ(fuel.Graphable, 1);
    EXPECT_EQ(fuel.GaugeKind, 0);
    EXPECT_EQ(fuel.MaxValue, 1600);

    const TMeasParBase &trip = *c.FindMeasPar(6);
    EXPECT_EQ(trip.CellUnit, "У.е.");
    EXPECT_EQ(trip.RangeFlag, 0);
    EXPECT_EQ(c.FindMeasPar(54)->GraphCaption, "Темпер.инв,гр");
}
