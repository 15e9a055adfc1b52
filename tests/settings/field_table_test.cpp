// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "catalogs/CatalogTables.h"
#include "catalogs/DeviceModel.h"
#include "catalogs/MeasPars.h"
#include "catalogs/Prots.h"
#include "image/DeviceRecorded.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/FieldTableContext.h"
#include "support/FieldTypeLimits.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <map>

using namespace mk;
using namespace mk::test;
using namespace Qt::StringLiterals;

namespace {

const FieldDef &field(const char *name)
{
    const FieldDef *def = findField(QString::fromLatin1(name));
    if (!def)
        throw std::runtime_error(std::string("no field ") + name);
    return *def;
}

void store(TMK &tmk, const char *name, const QVariant &v, const FieldContext &ctx = {})
{
    storeField(field(name), tmk, v, ctx);
}

QVariant load(const TMK &tmk, const char *name, const FieldContext &ctx = {})
{
    return loadField(field(name), tmk, ctx);
}

} // namespace

TEST(FieldTable, RowsAreConsistent)
{
    QSet<QString> names, controls;
    for (const FieldDef &def : fieldTable()) {
        SCOPED_TRACE(def.name.toStdString());
        EXPECT_FALSE(names.contains(def.name));
        EXPECT_FALSE(controls.contains(def.control));
        names.insert(def.name);
        controls.insert(def.control);
        ASSERT_GE(def.section, 0);
        ASSERT_LE(def.section, 10);
        int width = 0;
        switch (def.type) {
        case FieldType::Int8:
        case FieldType::UInt8: width = 1; break;
        case FieldType::Int16:
        case FieldType::UInt16: width = 2; break;
        case FieldType::Int32:
        case FieldType::UInt32:
        case FieldType::Float32: width = 4; break;
        case FieldType::UInt64: width = 8; break;
        case FieldType::Bytes: width = def.param; break;
        }
        EXPECT_LE(def.offset + width, kRecordSizes[size_t(def.section)]);
        // Every value the control can hold must fit the field's type after conversion.
        if (def.conversion == Conversion::Scaled && def.range.bounded) {
            EXPECT_GE(std::nearbyint(def.range.min * def.scale), typeMin(def.type));
            EXPECT_LE(std::nearbyint(def.range.max * def.scale), typeMax(def.type));
        }
        if (def.kind == ControlKind::RadioGroup) {
            EXPECT_FALSE(def.items.isEmpty());
        }
        // Stored on focus loss: typed values, alarm groups, the "Средние" combo boxes and the
        // "ТО" check boxes; every other choice is stored on click.
        const bool typed = def.kind == ControlKind::SpinEdit || def.kind == ControlKind::Edit ||
                           def.kind == ControlKind::DateEdit || def.kind == ControlKind::TimeEdit;
        const bool alarm = def.conversion == Conversion::AlarmFirst || def.conversion == Conversion::AlarmNext;
        const bool exitDriven = typed || alarm || (def.kind == ControlKind::ComboBox && def.page == PageId::Averages) ||
                                (def.kind == ControlKind::CheckBox && def.page == PageId::Service);
        EXPECT_EQ(def.storeOn == StoreOn::FocusLoss, exitDriven);
    }
    EXPECT_EQ(names.size(), 271);
    // 24 alarms, seven of them with one group only
    int alarms = 0;
    for (const FieldDef &def : fieldTable())
        alarms += def.conversion == Conversion::AlarmFirst;
    EXPECT_EQ(alarms, 24);
}

TEST(FieldTable, ScaledValuesRoundTiesToEven)
{
    TMK tmk;
    store(tmk, "VelocityLimit", 200.0);
    EXPECT_EQ(tmk.record(5).u8(0), 100);
    store(tmk, "VelocityLimit", 41.0); // 20.5 -> 20
    EXPECT_EQ(tmk.record(5).u8(0), 20);
    EXPECT_DOUBLE_EQ(load(tmk, "VelocityLimit").toDouble(), 40.0);
    store(tmk, "VelocityLimit", 43.0); // 21.5 -> 22
    EXPECT_EQ(tmk.record(5).u8(0), 22);

    store(tmk, "ParkStopLeng1", 250.0);
    EXPECT_EQ(tmk.record(1).u8(11), 25);
    store(tmk, "TripMinStop", 995.0);
    EXPECT_EQ(tmk.record(6).u16(10), 199);
    EXPECT_DOUBLE_EQ(load(tmk, "TripMinStop").toDouble(), 995.0);
    store(tmk, "UaccLowLimit", 12.3);
    EXPECT_EQ(tmk.record(5).s16(6), 123);
    store(tmk, "AccCorr", -0.7);
    EXPECT_EQ(tmk.record(5).s8(40), -7);
    EXPECT_NEAR(load(tmk, "AccCorr").toDouble(), -0.7, 1e-9);
}

TEST(FieldTable, CorrectionFactors)
{
    TMK tmk;
    store(tmk, "VelocityCorr", 0.0);
    EXPECT_EQ(tmk.record(5).f32(36), 1.0f);
    EXPECT_DOUBLE_EQ(load(tmk, "VelocityCorr").toDouble(), 0.0);
    tmk.record(5).setF32(36, 0.9995f);
    EXPECT_DOUBLE_EQ(load(tmk, "VelocityCorr").toDouble(), -0.1);
    store(tmk, "ExpenseCorr", 12.5);
    EXPECT_FLOAT_EQ(tmk.record(5).f32(32), 1.125f);
    EXPECT_DOUBLE_EQ(load(tmk, "ExpenseCorr").toDouble(), 12.5);
    tmk.record(5).setF32(48, 1.0234f);
    EXPECT_DOUBLE_EQ(load(tmk, "GazExpenseCorr").toDouble(), 2.3);
    // A stored NaN shows as no correction instead of poisoning the control.
    tmk.record(5).setU32(48, 0x7FC00000u);
    EXPECT_DOUBLE_EQ(load(tmk, "GazExpenseCorr").toDouble(), 0.0);
}

TEST(FieldTable, OutOfTypeValueIsRefusedAndKept)
{
    TMK tmk;
    tmk.record(5).setU8(3, 7);
    EXPECT_THROW(store(tmk, "TimeCorr", 128.0), RangeError);
    EXPECT_EQ(tmk.record(5).s8(3), 7);
    EXPECT_THROW(store(tmk, "TimeCorr", -129.0), RangeError);
    EXPECT_THROW(store(tmk, "TimeCorr", std::nan("")), RangeError);
    EXPECT_EQ(tmk.record(5).s8(3), 7);
    store(tmk, "TimeCorr", -128.0);
    EXPECT_EQ(tmk.record(5).s8(3), -128);
    EXPECT_THROW(store(tmk, "Intense0", -1.0), RangeError);
}

TEST(FieldTable, ResetPeriodsShiftTheIndex)
{
    TMK tmk;
    store(tmk, "ResetPeriod1", 0); // "Запр."
    EXPECT_EQ(tmk.record(0).u8(105), 0xFF);
    EXPECT_EQ(load(tmk, "ResetPeriod1").toInt(), 0);
    store(tmk, "ResetPeriod1", 1); // "Ручн."
    EXPECT_EQ(tmk.record(0).u8(105), 0);
    store(tmk, "ResetPeriod1", 8); // "7"
    EXPECT_EQ(tmk.record(0).u8(105), 7);
    EXPECT_EQ(fieldText(field("ResetPeriod1"), load(tmk, "ResetPeriod1"), {}), QStringLiteral("7"));
    store(tmk, "ResetPeriod0", 7);
    EXPECT_EQ(tmk.record(0).u8(104), 7);
}

TEST(FieldTable, AlarmPairs)
{
    TMK tmk;
    store(tmk, "apTO_F", 2); // one group: same mode for both
    EXPECT_EQ(tmk.record(8).u8(6), 18);
    tmk.record(8).setU8(2, 0);
    store(tmk, "apVel_F", 1);
    store(tmk, "apVel_N", 4);
    EXPECT_EQ(tmk.record(8).u8(2), 33);
    EXPECT_EQ(load(tmk, "apVel_F").toInt(), 1);
    EXPECT_EQ(load(tmk, "apVel_N").toInt(), 4);
    EXPECT_THROW(store(tmk, "apVel_N", 5), RangeError);
    EXPECT_THROW(store(tmk, "apVel_N", -1), RangeError);
    EXPECT_EQ(tmk.record(8).u8(2), 33);
    EXPECT_EQ(field("apInvTemperHigh_F").offset, 23);
    EXPECT_EQ(labelOf(field("apVel_F")), QStringLiteral("lapVel"));
}

TEST(FieldTable, MaskBitsLeaveTheOthers)
{
    TMK tmk;
    tmk.record(9).setU64(392, ~quint64(0));
    store(tmk, "ShowDisp_1_35", false);
    EXPECT_EQ(tmk.record(9).u64(392), ~(quint64(1) << 35));
    store(tmk, "ShowDisp_1_35", true);
    EXPECT_EQ(tmk.record(9).u64(392), ~quint64(0));
    tmk.record(9).setU16(390, 0);
    store(tmk, "ShowDisp_S_8", true);
    EXPECT_EQ(tmk.record(9).u16(390), 0x100);

    tmk.record(10).setU32(0, 0xFFFF0000u);
    store(tmk, "LockType", 1);
    store(tmk, "24VMode", 1);
    store(tmk, "GasOil", true);
    EXPECT_EQ(tmk.record(10).u32(0), 0xFFFF0000u | 1u | (1u << 11) | (1u << 8));
    store(tmk, "24VMode", 0);
    EXPECT_EQ(load(tmk, "LockType").toInt(), 1);
    EXPECT_EQ(tmk.record(10).u32(0), 0xFFFF0000u | 1u | (1u << 8));
}

TEST(FieldTable, ServiceUseFlags)
{
    TMK tmk;
    tmk.record(4).setU16(116, 0xFFFF);
    store(tmk, "CandleCntKUse", true);
    EXPECT_EQ(tmk.record(4).u16(116), 0xFFFF); // setting leaves bits 12..15
    store(tmk, "OSAGOUse", false);
    EXPECT_EQ(tmk.record(4).u16(116), 0x0EFF); // clearing takes bits 12..15 along, keeps 9..11
    store(tmk, "OSAGOUse", true);
    EXPECT_EQ(tmk.record(4).u16(116), 0x0FFF);
}

TEST(FieldTable, DatesTimesAndTexts)
{
    TMK tmk;
    store(tmk, "TO", QStringLiteral("01.01.01"));
    EXPECT_EQ(tmk.record(4).u32(8), 367u);
    store(tmk, "OSAGO", QStringLiteral("01.03.04"));
    EXPECT_EQ(tmk.record(4).u32(12), 1522u);
    EXPECT_EQ(load(tmk, "OSAGO").toString(), QStringLiteral("01.03.04"));
    for (const char *bad : {"__.03.04", "31.02.05", "01.13.04", "1.3.04", ""})
        EXPECT_THROW(store(tmk, "OSAGO", QString::fromLatin1(bad)), Error) << bad;
    EXPECT_EQ(tmk.record(4).u32(12), 1522u);

    store(tmk, "IntenseDayTime", QStringLiteral("07:30"));
    EXPECT_EQ(tmk.record(9).s16(376), 450);
    EXPECT_EQ(load(tmk, "IntenseDayTime").toString(), QStringLiteral("07:30"));
    for (const char *bad : {"0_:30", "07-30", "24:00", "07:60"})
        EXPECT_THROW(store(tmk, "IntenseDayTime", QString::fromLatin1(bad)), Error) << bad;
    EXPECT_EQ(tmk.record(9).s16(376), 450);

    store(tmk, "UniMeasStr", QStringLiteral("Давл."));
    EXPECT_EQ(tmk.record(4).raw(60, 7), QByteArray("\xC4\xE0\xE2\xEB.\0\0", 7));
    EXPECT_EQ(load(tmk, "UniMeasStr").toString(), QStringLiteral("Давл."));
    EXPECT_THROW(store(tmk, "UniMeasStr", QStringLiteral("1234567")), Error);
    store(tmk, "CandleCntKName", QStringLiteral("123456789012345"));
    EXPECT_EQ(tmk.record(4).u8(100 + 15), 0); // always terminated
}

TEST(FieldTable, SpecialConversions)
{
    TMK tmk;
    for (auto [stored, item] : {std::pair{1, 0}, {2, 1}, {4, 2}, {0, 2}, {3, 2}}) {
        tmk.record(5).setU8(21, quint8(stored));
        EXPECT_EQ(load(tmk, "ForsCoef").toInt(), item) << stored;
    }
    store(tmk, "ForsCoef", 2);
    EXPECT_EQ(tmk.record(5).u8(21), 4);
    store(tmk, "ForsCoef", 1);
    EXPECT_EQ(tmk.record(5).u8(21), 2);

    FieldContext single;
    single.flags.ServiceInThousands = true;
    store(tmk, "AirFiltCntK", 9.9, single);
    EXPECT_EQ(tmk.record(4).s8(0), 99);
    EXPECT_DOUBLE_EQ(load(tmk, "AirFiltCntK", single).toDouble(), 9.9);
    EXPECT_DOUBLE_EQ(load(tmk, "AirFiltCntK").toDouble(), 99.0);
    EXPECT_EQ(rangeOf(field("AirFiltCntK"), single).max, 9.9);
    EXPECT_EQ(rangeOf(field("AirFiltCntK"), {}).max, 99);
}

TEST(FieldTable, AdcPointsMustDiffer)
{
    TMK tmk;
    tmk.record(4).setU16(52, 0);
    tmk.record(4).setU16(54, 1023);
    try {
        store(tmk, "UniMeasADC0", 1023.0);
        FAIL() << "equal points accepted";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Значения АЦП Мин и Макс должны различаться."));
    }
    EXPECT_EQ(tmk.record(4).s16(52), 0);
    store(tmk, "UniMeasADC1", 512.0);
    EXPECT_EQ(tmk.record(4).s16(54), 512);
}

TEST(FieldTable, ProtocolChangeResetsSubTypes)
{
    TMK tmk;
    Record &rec = tmk.record(10);
    rec.setU16(4, 3);
    rec.setU16(6, 3);
    for (int off : {12, 13, 14, 15, 52, 53, 54, 55})
        rec.setU8(off, 2);
    store(tmk, "Protocol", 3); // the same protocol: nothing stored
    EXPECT_EQ(rec.u8(12), 2);
    EXPECT_EQ(rec.u8(55), 2);
    store(tmk, "Protocol", 5);
    EXPECT_EQ(rec.u16(4), 5);
    EXPECT_EQ(rec.u16(6), 5);
    for (int off : {12, 13, 14, 15, 52, 53, 54, 55})
        EXPECT_EQ(rec.u8(off), 0) << off;
    EXPECT_EQ(rec.u8(16), 0);
}

TEST(FieldTable, VisibilityRules)
{
    TMK tmk;
    FieldContext ctx;
    EXPECT_TRUE(conditionHolds(field("GazContFull").shown, ctx, tmk));
    ctx.flags.NoGas = true;
    EXPECT_FALSE(conditionHolds(field("GazContFull").shown, ctx, tmk));
    EXPECT_FALSE(conditionHolds(field("GasOil").shown, ctx, tmk));

    // Protocol-driven controls stay hidden while no protocol is current.
    EXPECT_FALSE(conditionHolds(field("LiqTemperLimit").shown, ctx, tmk));
    ctx.protocol.coolantAlarms = true;
    EXPECT_TRUE(conditionHolds(field("LiqTemperLimit").shown, ctx, tmk));
    TProtBase j1939(QStringLiteral("J1939"), 14, 0);
    ctx.protocol = protocolControls(&j1939, ctx.flags);
    EXPECT_FALSE(conditionHolds(field("RetarderOilTemperLimit").shown, ctx, tmk));
    EXPECT_FALSE(conditionHolds(field("apCVTFDeterior_F").shown, ctx, tmk));
    ctx.flags.ExtendedSystems = true;
    ctx.protocol = protocolControls(&j1939, ctx.flags);
    EXPECT_TRUE(conditionHolds(field("RetarderOilTemperLimit").shown, ctx, tmk));
    EXPECT_TRUE(conditionHolds(field("apCVTFDeterior_F").shown, ctx, tmk));
    EXPECT_FALSE(conditionHolds(field("CVTFDeteriorLim").shown, ctx, tmk));
    j1939.Hybrid = true;
    ctx.protocol = protocolControls(&j1939, ctx.flags);
    EXPECT_TRUE(conditionHolds(field("VentTempLimit").shown, ctx, tmk));
    EXPECT_EQ(rangeOf(field("VentTempLimit"), ctx).min, 25);

    // Rules that follow other fields.
    tmk.record(10).setU32(0, 0);
    tmk.record(5).setU8(14, 0);
    tmk.record(5).setU8(18, 0);
    tmk.record(5).setU8(19, 0);
    EXPECT_FALSE(conditionHolds(field("LockTypeLevel").shown, ctx, tmk));
    EXPECT_TRUE(conditionHolds(field("GabarInvPol").shown, ctx, tmk));
    EXPECT_FALSE(conditionHolds(field("ForsCoef").shown, ctx, tmk));
    store(tmk, "LockType", 1);
    store(tmk, "GabarType", 1);
    store(tmk, "GasMeth", 1);
    EXPECT_TRUE(conditionHolds(field("LockTypeLevel").shown, ctx, tmk));
    EXPECT_FALSE(conditionHolds(field("GabarInvPol").shown, ctx, tmk));
    EXPECT_TRUE(conditionHolds(field("ForsPosFlag").shown, ctx, tmk));
}

// Every flag of the two tables reaches the conditions through the context a model opens with: a
// feature flag as the model table sets it, a protocol fact for some protocol of some model but not
// for all, and neither without a protocol. A flag no row ever sets (or always sets) fails here.
TEST(FieldTable, EveryFlagReachesTheConditions)
{
    struct Named
    {
        const char *name;
        Flag flag;
    };
#define MK_NAMED_FLAG(name, ...) Named{#name, Flag::name},
    const std::vector<Named> features = {MK_FEATURE_FLAGS(MK_NAMED_FLAG)};
    const std::vector<Named> facts = {MK_PROTOCOL_FACTS(MK_NAMED_FLAG)};
#undef MK_NAMED_FLAG
    const TMK tmk;
    std::map<Flag, std::pair<int, int>> seen; // times set, times clear
    for (const catalog_data::ModelRow &row : catalog_data::modelRows()) {
        DeviceModel device = SelectDeviceModel(row.modelType, 0, quint32(row.firstVariant));
        const MeasParCatalog measPars(device.Flags);
        const QStringList names = device.Flags.names();
        for (int index = -1; index < int(device.ProtocolList.size()); ++index) {
            setCurrentProtocol(device, index);
            const FieldContext ctx = fieldContext(device, measPars);
            for (const Named &f : features) {
                const bool set = names.contains(QLatin1String(f.name));
                EXPECT_EQ(conditionHolds(when(f.flag), ctx, tmk), set) << row.modelType << ' ' << f.name;
                EXPECT_EQ(conditionHolds(unless(f.flag), ctx, tmk), !set) << row.modelType << ' ' << f.name;
            }
            for (const Named &f : facts) {
                const bool set = conditionHolds(when(f.flag), ctx, tmk);
                EXPECT_FALSE(set && index < 0) << row.modelType << ' ' << f.name;
                EXPECT_NE(conditionHolds(unless(f.flag), ctx, tmk), set) << f.name;
                (set ? seen[f.flag].first : seen[f.flag].second)++;
            }
        }
        for (const Named &f : features)
            (names.contains(QLatin1String(f.name)) ? seen[f.flag].first : seen[f.flag].second)++;
    }
    for (const std::vector<Named> *list : {&features, &facts})
        for (const Named &f : *list) {
            EXPECT_GT(seen[f.flag].first, 0) << f.name << " is never set";
            EXPECT_GT(seen[f.flag].second, 0) << f.name << " is never clear";
        }
}

TEST(FieldTable, ItemListsFollowTheModel)
{
    FieldContext ctx;
    EXPECT_EQ(itemsOf(field("GasOilMeth"), ctx).size(), 3);
    ctx.flags.NoDSSwitch = true;
    ctx.flags.SecondTank = true;
    const QStringList items = itemsOf(field("GasOilMeth"), ctx);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items.last(), QStringLiteral("Бк2"));
    ctx.flags.NoDSSwitch = false;
    EXPECT_EQ(itemsOf(field("GasOilMeth"), ctx).size(), 4);

    ctx.subTypeItems[0] = QStringList{QStringLiteral("Авто"), QStringLiteral("1")};
    ctx.subTypeItems[7] = QStringList{QStringLiteral("x")};
    EXPECT_EQ(itemsOf(field("ProtTypeMain"), ctx).size(), 2);
    EXPECT_EQ(itemsOf(field("ProtTypeAdd7"), ctx), QStringList{QStringLiteral("x")});
    EXPECT_TRUE(itemsOf(field("ProtTypeAdd3"), ctx).isEmpty());
    EXPECT_THROW(parseFieldText(field("ProtTypeAdd3"), QStringLiteral("0"), ctx), Error);
    ctx.protocolNames = QStringList{QStringLiteral("CAN"), QStringLiteral("J1939")};
    EXPECT_EQ(parseFieldText(field("Protocol"), QStringLiteral("J1939"), ctx).toInt(), 1);
    EXPECT_EQ(parseFieldText(field("Protocol"), QStringLiteral("0"), ctx).toInt(), 0);
    EXPECT_THROW(parseFieldText(field("Protocol"), QStringLiteral("2"), ctx), Error);
}

TEST(FieldTable, TextFormsForTools)
{
    FieldContext ctx;
    const FieldDef &limit = field("VelocityLimit");
    EXPECT_DOUBLE_EQ(parseFieldText(limit, QStringLiteral("41"), ctx).toDouble(), 41.0);
    EXPECT_THROW(parseFieldText(limit, QStringLiteral("39"), ctx), Error);
    EXPECT_THROW(parseFieldText(limit, QStringLiteral("fast"), ctx), Error);
    ctx.flags.Supply24V = true;
    EXPECT_NO_THROW(parseFieldText(field("UaccLowLimit"), QStringLiteral("27.8"), ctx));
    EXPECT_EQ(fieldText(field("UaccLowLimit"), 27.8, ctx), QStringLiteral("27.8"));
    EXPECT_EQ(parseFieldText(field("ResetPeriod1"), QStringLiteral("Запр."), ctx).toInt(), 0);
    EXPECT_EQ(parseFieldText(field("ResetPeriod1"), QStringLiteral("7"), ctx).toInt(), 8); // the caption wins
    EXPECT_EQ(parseFieldText(field("apVel_F"), QStringLiteral("Б"), ctx).toInt(), 2);
    EXPECT_THROW(parseFieldText(field("apVel_F"), QStringLiteral("X"), ctx), Error);
    EXPECT_TRUE(parseFieldText(*findFieldByControl(QStringLiteral("cbTO")), QStringLiteral("да"), ctx).toBool());
    EXPECT_THROW(parseFieldText(field("OSAGO"), QStringLiteral("30.02.20"), ctx), Error);
    EXPECT_THROW(parseFieldText(field("UniMeasStr"), QStringLiteral("abcdefg"), ctx), Error);
}

// The reset periods are settings among the device's counters: the write keeps their bytes out of
// the device-recorded units by the same offsets the field table stores them at.
TEST(FieldTable, ResetPeriodsLieWhereTheDeviceRecordedUnitsLeaveThem)
{
    const struct
    {
        const char *name;
        int offset;
    } rows[] = {{"ResetPeriod0", kResetPeriod1Offset},
                {"ResetPeriod1", kResetPeriod2Offset},
                {"ResetPeriodOnly", kResetPeriodOnlyOffset}};
    for (const auto &r : rows) {
        const FieldDef *f = findField(QString::fromLatin1(r.name));
        ASSERT_NE(f, nullptr) << r.name;
        EXPECT_EQ(f->section, kCountersSection) << r.name;
        EXPECT_EQ(f->offset, r.offset) << r.name;
        for (const RecordedUnit &unit : deviceRecordedUnits())
            for (const ByteSpan &span : unit.spans)
                EXPECT_FALSE(unit.section == f->section && span.begin <= f->offset && f->offset < span.end)
                    << r.name << " lies in a device-recorded unit";
    }
}

// Code names rows by id: every id has one row and every row one id, the row's name is its id's and
// finds that row again, and the families code walks by number hold the rows their names say.
TEST(FieldTable, EveryIdHasExactlyOneRow)
{
    std::vector<int> rowsOf(size_t(kFieldCount), 0);
    QSet<QString> names;
    for (const FieldDef &def : fieldTable()) {
        ASSERT_GE(int(def.id), 0);
        ASSERT_LT(int(def.id), kFieldCount);
        ++rowsOf[size_t(def.id)];
        EXPECT_EQ(def.name, QString::fromLatin1(fieldName(def.id)));
        EXPECT_EQ(&fieldDef(def.id), &def) << fieldName(def.id);
        EXPECT_EQ(findField(def.name), &def) << fieldName(def.id);
        names << def.name;
    }
    for (int id = 0; id < kFieldCount; ++id)
        EXPECT_EQ(rowsOf[size_t(id)], 1) << fieldName(FieldId(id));
    EXPECT_EQ(int(fieldTable().size()), kFieldCount);
    EXPECT_EQ(int(names.size()), kFieldCount);
    EXPECT_EQ(fieldDef(FieldId::Supply24VMode).name, u"24VMode");
    EXPECT_EQ(findField(QStringLiteral("velocitylimit")), nullptr); // names are case-sensitive

    const auto name = [](FieldId id) { return QString::fromLatin1(fieldName(id)); };
    for (int s = 0; s < int(kProtocolSubTypeFields.size()); ++s) {
        EXPECT_EQ(name(kProtocolSubTypeFields[size_t(s)]),
                  s == 0 ? u"ProtTypeMain"_s : u"ProtTypeAdd"_s + QString::number(s));
        EXPECT_EQ(protocolSubTypeSelector(kProtocolSubTypeFields[size_t(s)]), s);
    }
    EXPECT_EQ(protocolSubTypeSelector(FieldId::Protocol), std::nullopt);
    for (int side = 0; side < int(kParkingSideFields.size()); ++side) {
        const ParkingSideFields &f = kParkingSideFields[size_t(side)];
        const QString n = QString::number(side);
        EXPECT_EQ(QStringList({name(f.use), name(f.sense), name(f.speed), name(f.minLength), name(f.stopLength),
                               name(f.stopVelocity)}),
                  QStringList({u"ParkUse"_s + n, u"ParkSense"_s + n, u"ParkSpeed"_s + n, u"ParkMinLeng"_s + n,
                               u"ParkStopLeng"_s + n, u"ParkStopVel"_s + n}));
    }
    for (int k = 0; k < int(kCalibrationReadingFields.size()); ++k) {
        EXPECT_EQ(name(kCalibrationReadingFields[size_t(k)]), u"OilCalibrResArr"_s + QString::number(k));
        EXPECT_EQ(name(kCalibrationLitreFields[size_t(k)]), u"OilCalibrLitArr"_s + QString::number(k));
        EXPECT_EQ(fieldDef(kCalibrationReadingFields[size_t(k)]).param, k);
    }
    // Every reminder's "use" box is one of the reminders, each its counter's or date's.
    int useBoxes = 0;
    for (const FieldDef &def : fieldTable())
        useBoxes += def.conversion == Conversion::ServiceUseBit;
    EXPECT_EQ(useBoxes, int(kServiceReminderFields.size()));
    for (const ServiceReminderFields &r : kServiceReminderFields) {
        EXPECT_EQ(name(r.use), name(r.value) + u"Use"_s);
        EXPECT_EQ(fieldDef(r.use).conversion, Conversion::ServiceUseBit);
        EXPECT_EQ(fieldDef(r.use).page, fieldDef(r.value).page);
        if (r.name) {
            EXPECT_EQ(name(*r.name), name(r.value) + u"Name"_s);
        }
        EXPECT_EQ(bool(r.name), findField(name(r.value) + u"Name"_s) != nullptr) << fieldName(r.value);
    }
    // A pair names each other.
    for (const FieldDef &def : fieldTable()) {
        if (def.partner) {
            EXPECT_EQ(fieldDef(*def.partner).partner, def.id) << fieldName(def.id);
        }
    }
}
