// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/RecordLayout.h"

#include <array>

namespace mk {

namespace {

// "Averages3.fuel1": the names of the rows of the sets' fields, kept for the program's life.
const char *accumulatorFieldName(int set, int field)
{
    static const auto names = [] {
        static const char *const fields[] = {"time", "distance", "fuel1", "fuel2"};
        std::array<std::array<QByteArray, 4>, kAccumulatorSetCount> all;
        for (int s = 0; s < kAccumulatorSetCount; ++s)
            for (int f = 0; f < 4; ++f)
                all[size_t(s)][size_t(f)] = "Averages" + QByteArray::number(s) + '.' + fields[f];
        return all;
    }();
    return names[size_t(set)][size_t(field)].constData();
}

std::vector<LayoutRow> makeRows()
{
    using namespace layout;
    std::vector<LayoutRow> rows;
    for (int s = 0; s < kAccumulatorSetCount; ++s) {
        const AccumulatorLayout &set = kAccumulatorLayouts[s];
        const int fields[] = {set.time, set.distance, set.fuel1, set.fuel2};
        for (int f = 0; f < 4; ++f)
            if (fields[f] >= 0)
                rows.push_back(
                    {accumulatorFieldName(s, f), kCountersSection, fields[f], kAccumulatorFieldSize, K::Counter});
    }
    rows.insert(rows.end(), {kAllPathStart, kResetPeriod1, kResetPeriod2, kResetPeriodOnly});

    rows.insert(rows.end(), {kOil6L, kLit6L, kOil43L, kLit43L, kOilCalibrResArr, kOilCalibrLitArr, kOilCalibrQuant});
    rows.insert(rows.end(),
                {kTableFirstByte, kTarirFlagFinish, kTarirLeng, kTarirDir, kTarirIncline, kTarirLit, kTarirCode});

    rows.insert(rows.end(), {kTankContFull, kGazContFull});
    rows.insert(rows.end(),
                {kServiceCounters, kUseUniMeas, kTO, kOSAGO, kUniMeasADC0, kUniMeasADC1, kUniMeasDat0, kUniMeasDat1,
                 kUniMeasStr, kForsTOCntKName, kGRMStrapCntKName, kCandleCntKName, kServiceUse});
    rows.insert(rows.end(), {kVelocityLimit,   kRevolutionsLimit,   kTankLimit,
                             kLiqTemperLimit,  kUaccLowLimit,       kStopVelocityLimit,
                             kUaccHighLimit,   kVentTempLimit,      kGasMeth,
                             kExpenseMeth,     kRevolutionsMeth,    kForsPosFlag,
                             kForsCoef,        kInjTimeLimit,       kVel100,
                             kVel100Down,      kExpenseCorr,        kVelocityCorr,
                             kLiqTemperReady,  kGasOilMeth,         kVAGSFilterLimit,
                             kGazExpenseCorr,  kOilAKPPTemperLimit, kOilEngTemperLimit,
                             kCVTFDeteriorLim, kInvTemperLimit,     kRetarderOilTemperLimit,
                             kHVBTemperLimit});
    rows.insert(rows.end(), {kPriceExpense, kPriceTime, kPricePath, kPriceGas, kTripBookkeeping, kTripJournal,
                             kTankJournal, kTankBookkeeping});
    rows.insert(rows.end(), {kDispVar4, kDispVar9, kX4Places, kX7Places, kGraphPlaces, kArrowPlaces, kX9Places,
                             kHotMenus, kColourSchemes, kActiveColourScheme, kShowDisp4, kShowDisp9, kShowDisp7,
                             kShowDispG, kShowDispA, kShowDispS, kShowDisp1, kX6Places, kShowDisp6});
    rows.insert(rows.end(), {kVehicleFlags, kProtocol, kPreviousProtocol, kProtSubTypes, kProtSubTypesMore, kOscTimeDiv,
                             kOscVoltDiv, kOscInDivider, kOscTrigLevel});
    rows.insert(rows.end(), {kSupportedBitmap, kErrorJournal});
    return rows;
}

} // namespace

const std::vector<LayoutRow> &recordLayout()
{
    static const std::vector<LayoutRow> rows = makeRows();
    return rows;
}

std::vector<EntryField> journalEntryFields()
{
    const JournalEntryLayout &l = kJournalEntryLayout;
    return {l.minutes, l.day, l.month, l.seconds, l.metres, l.fuel1, l.fuel2};
}

std::vector<EntryField> errorEntryFields()
{
    const ErrorEntryLayout &l = kErrorEntryLayout;
    return {l.minutes, l.day, l.month, l.code, l.frameCode, l.values};
}

const std::vector<FrameValueSlot> &frameValueSlots()
{
    using namespace frame;
    static const std::vector<FrameValueSlot> all = {
        kFuelSystem,
        kEngineLoad,
        kCoolantTemp,
        kShortTrimB1,
        kShortTrimB2,
        kLongTrimB1,
        kLongTrimB2,
        kFuelPressure,
        kIntakePressure,
        kRevolutions,
        kSpeed,
        kIgnitionAdvance,
        kIntakeAirTemp,
        kAirFlow,
        kThrottle,
        kSecondaryAir,
        kOxygenSensor1,
        kOxygenSensor2,
        kRunTime,
        kDistanceWithLamp,
        kRailPressureVacuum,
        kRailPressure,
        kEgrCommanded,
        kEgrError,
        kEvapPurge,
        kWarmUps,
        kDistanceSinceClear,
        kEvapPressure,
        kBarometricPressure,
        kCatalystB1S1,
        kCatalystB2S1,
        kCatalystB1S2,
        kCatalystB2S2,
        kModuleVoltage,
        kLambdaCommanded,
        kRelativeThrottle,
        kAmbientAirTemp,
        kThrottleActuator,
        kTimeWithLamp,
        kTimeSinceClear,
    };
    return all;
}

} // namespace mk
