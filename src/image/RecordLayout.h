// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the bytes of each section record lie that the program reads or writes outside the
// settings editor's field table: the device's counters and journals, the few settings the
// viewers and tools store themselves, the tank calibration, the screen places, hot menus and
// colour schemes, and the settings a fresh model holds other than 0. One row per value or run of
// values (name, section, offset, width, kind); the defaults, the journals, the factory image, the
// device-recorded units, the tank file and the simulator read their offsets from here. The field
// table's rows (settings/FieldTableData.cpp) describe the settings the editor shows; where a field
// table row and a row here name the same bytes they agree, and a row named as a setting holds
// exactly that setting's value, whose field-table row reads its section and offset from here (the
// table test checks both).

#include "image/ImageLayout.h"
#include "image/TankCalibration.h"

#include <vector>

namespace mk {

// What the bytes of a row hold.
enum class LayoutKind : quint8 {
    Setting,     // a value the user chooses
    Counter,     // a value the device counts by itself
    Journal,     // a run of journal entries, newest first
    Bookkeeping, // the device's own bytes that go with a journal
    Bitmap,      // bits the device sets
};

struct LayoutRow
{
    const char *name;
    int section;
    int offset;
    int width; // bytes of the whole row
    LayoutKind kind;
    int item = 0; // a run of values (or entries) of this many bytes each; 0 for one value

    constexpr int end() const { return offset + width; }
};

namespace layout {
using K = LayoutKind;

// Section 0: the accumulated averages (the sets, below), the odometer and the reset periods.
inline constexpr LayoutRow kAllPathStart{"AllPathStart", kCountersSection, 100, 4, K::Counter};
// The reset periods of "Сброс 1", "Сброс 2" (the settings ResetPeriod0 and ResetPeriod1) and of
// the petrol-only and gas-only sets.
inline constexpr LayoutRow kResetPeriod1{"ResetPeriod0", kCountersSection, 104, 1, K::Setting};
inline constexpr LayoutRow kResetPeriod2{"ResetPeriod1", kCountersSection, 105, 1, K::Setting};
inline constexpr LayoutRow kResetPeriodOnly{"ResetPeriodOnly", kCountersSection, 134, 1, K::Setting};

// Sections 2 and 3: the fuel-level sensor's 2-point and 7-point calibrations, and the tank table
// (the tank file carries these rows but TarirIncline; image/TankCalibration.h tells what they hold).
inline constexpr LayoutRow kOil6L{"Oil6L", kFuelSensorSection, tank::kOil6L, 2, K::Setting};
inline constexpr LayoutRow kLit6L{"Lit6L", kFuelSensorSection, tank::kLit6L, 2, K::Setting};
inline constexpr LayoutRow kOil43L{"Oil43L", kFuelSensorSection, tank::kOil43L, 2, K::Setting};
inline constexpr LayoutRow kLit43L{"Lit43L", kFuelSensorSection, tank::kLit43L, 2, K::Setting};
inline constexpr LayoutRow kOilCalibrResArr{"OilCalibrResArr",     kFuelSensorSection, tank::kOilCalibrResArr,
                                            2 * tank::kPointCount, K::Setting,         2};
inline constexpr LayoutRow kOilCalibrLitArr{"OilCalibrLitArr",     kFuelSensorSection, tank::kOilCalibrLitArr,
                                            2 * tank::kPointCount, K::Setting,         2};
inline constexpr LayoutRow kOilCalibrQuant{"OilCalibrQuant", kFuelSensorSection, tank::kOilCalibrQuant, 1, K::Setting};
inline constexpr LayoutRow kTableFirstByte{"TableFirstByte", kTankTableSection, tank::kTableFirstByte, 1, K::Setting};
inline constexpr LayoutRow kTarirFlagFinish{"TarirFlagFinish", kTankTableSection, tank::kTarirFlagFinish, 1,
                                            K::Setting};
inline constexpr LayoutRow kTarirLeng{"TarirLeng", kTankTableSection, tank::kTarirLeng, 1, K::Setting};
inline constexpr LayoutRow kTarirDir{"TarirDir", kTankTableSection, tank::kTarirDir, 1, K::Setting};
inline constexpr LayoutRow kTarirIncline{"TarirIncline", kTankTableSection, tank::kTarirIncline, 1, K::Setting};
inline constexpr LayoutRow kTarirLit{"TarirLit", kTankTableSection, tank::kTarirLit, tank::kTarirMaxLength, K::Setting,
                                     1};
inline constexpr LayoutRow kTarirCode{
    "TarirCode", kTankTableSection, tank::kTarirCode, 2 * tank::kTarirMaxLength, K::Setting, 2};

// Section 2: the tank volumes (litres).
inline constexpr LayoutRow kTankContFull{"TankContFull", kFuelSensorSection, 44, 2, K::Setting};
inline constexpr LayoutRow kGazContFull{"GazContFull", kFuelSensorSection, 56, 2, K::Setting};

// Section 4: thousands of kilometres left until each service, one byte each; the universal input
// (on/off, its two ADC points and their values, its caption); the dates of the yearly services
// (day numbers); the captions of three services; the bits of the services in use.
inline constexpr LayoutRow kServiceCounters{"ServiceCounters", kServiceSection, 0, 7, K::Counter, 1};
inline constexpr LayoutRow kUseUniMeas{"UseUniMeas", kServiceSection, 7, 1, K::Setting};
inline constexpr LayoutRow kTO{"TO", kServiceSection, 8, 4, K::Setting};
inline constexpr LayoutRow kOSAGO{"OSAGO", kServiceSection, 12, 4, K::Setting};
inline constexpr LayoutRow kUniMeasADC0{"UniMeasADC0", kServiceSection, 52, 2, K::Setting};
inline constexpr LayoutRow kUniMeasADC1{"UniMeasADC1", kServiceSection, 54, 2, K::Setting};
inline constexpr LayoutRow kUniMeasDat0{"UniMeasDat0", kServiceSection, 56, 2, K::Setting};
inline constexpr LayoutRow kUniMeasDat1{"UniMeasDat1", kServiceSection, 58, 2, K::Setting};
inline constexpr LayoutRow kUniMeasStr{"UniMeasStr", kServiceSection, 60, 7, K::Setting};
inline constexpr LayoutRow kForsTOCntKName{"ForsTOCntKName", kServiceSection, 68, 16, K::Setting};
inline constexpr LayoutRow kGRMStrapCntKName{"GRMStrapCntKName", kServiceSection, 84, 16, K::Setting};
inline constexpr LayoutRow kCandleCntKName{"CandleCntKName", kServiceSection, 100, 16, K::Setting};
inline constexpr LayoutRow kServiceUse{"ServiceUse", kServiceSection, 116, 2, K::Setting};

// Section 5: limits, corrections (float factors) and measuring methods.
inline constexpr LayoutRow kVelocityLimit{"VelocityLimit", kLimitsSection, 0, 1, K::Setting};
inline constexpr LayoutRow kRevolutionsLimit{"RevolutionsLimit", kLimitsSection, 1, 1, K::Setting};
inline constexpr LayoutRow kTankLimit{"TankLimit", kLimitsSection, 2, 1, K::Setting};
inline constexpr LayoutRow kLiqTemperLimit{"LiqTemperLimit", kLimitsSection, 4, 2, K::Setting};
inline constexpr LayoutRow kUaccLowLimit{"UaccLowLimit", kLimitsSection, 6, 2, K::Setting};
inline constexpr LayoutRow kStopVelocityLimit{"StopVelocityLimit", kLimitsSection, 8, 2, K::Setting};
inline constexpr LayoutRow kUaccHighLimit{"UaccHighLimit", kLimitsSection, 10, 2, K::Setting};
inline constexpr LayoutRow kVentTempLimit{"VentTempLimit", kLimitsSection, 12, 2, K::Setting};
inline constexpr LayoutRow kGasMeth{"GasMeth", kLimitsSection, 14, 1, K::Setting};
inline constexpr LayoutRow kExpenseMeth{"ExpenseMeth", kLimitsSection, 18, 1, K::Setting};
inline constexpr LayoutRow kRevolutionsMeth{"RevolutionsMeth", kLimitsSection, 19, 1, K::Setting};
inline constexpr LayoutRow kForsPosFlag{"ForsPosFlag", kLimitsSection, 20, 1, K::Setting};
inline constexpr LayoutRow kForsCoef{"ForsCoef", kLimitsSection, 21, 1, K::Setting};
inline constexpr LayoutRow kInjTimeLimit{"InjTimeLimit", kLimitsSection, 22, 1, K::Setting};
inline constexpr LayoutRow kVel100{"Vel100", kLimitsSection, 28, 2, K::Setting};
inline constexpr LayoutRow kVel100Down{"Vel100Down", kLimitsSection, 30, 2, K::Setting};
inline constexpr LayoutRow kExpenseCorr{"ExpenseCorr", kLimitsSection, 32, 4, K::Setting};
inline constexpr LayoutRow kVelocityCorr{"VelocityCorr", kLimitsSection, 36, 4, K::Setting};
inline constexpr LayoutRow kLiqTemperReady{"LiqTemperReady", kLimitsSection, 41, 1, K::Setting};
inline constexpr LayoutRow kGasOilMeth{"GasOilMeth", kLimitsSection, 45, 1, K::Setting};
inline constexpr LayoutRow kVAGSFilterLimit{"VAGSFilterLimit", kLimitsSection, 47, 1, K::Setting};
inline constexpr LayoutRow kGazExpenseCorr{"GazExpenseCorr", kLimitsSection, 48, 4, K::Setting};
inline constexpr LayoutRow kOilAKPPTemperLimit{"OilAKPPTemperLimit", kLimitsSection, 52, 2, K::Setting};
inline constexpr LayoutRow kOilEngTemperLimit{"OilEngTemperLimit", kLimitsSection, 54, 2, K::Setting};
inline constexpr LayoutRow kCVTFDeteriorLim{"CVTFDeteriorLim", kLimitsSection, 56, 2, K::Setting};
inline constexpr LayoutRow kInvTemperLimit{"InvTemperLimit", kLimitsSection, 59, 1, K::Setting};
inline constexpr LayoutRow kRetarderOilTemperLimit{"RetarderOilTemperLimit", kLimitsSection, 60, 2, K::Setting};
inline constexpr LayoutRow kHVBTemperLimit{"HVBTemperLimit", kLimitsSection, 62, 1, K::Setting};

// Section 6: prices (u16, per litre of fuel 1, per hour, per kilometre, per litre of fuel 2),
// the trip and refuelling journals (21 entries of 20 bytes) and their bookkeeping.
inline constexpr LayoutRow kPriceExpense{"PriceExpense", kTripsSection, 0, 2, K::Setting};
inline constexpr LayoutRow kPriceTime{"PriceTime", kTripsSection, 2, 2, K::Setting};
inline constexpr LayoutRow kPricePath{"PricePath", kTripsSection, 4, 2, K::Setting};
inline constexpr LayoutRow kPriceGas{"PriceGas", kTripsSection, 6, 2, K::Setting};
inline constexpr LayoutRow kTripBookkeeping{"TripJournalBookkeeping", kTripsSection, 12, 4, K::Bookkeeping};
inline constexpr LayoutRow kTripJournal{"TripJournal", kTripsSection, 16, 21 * 20, K::Journal, 20};
inline constexpr LayoutRow kTankJournal{"TankJournal", kTripsSection, 436, 21 * 20, K::Journal, 20};
inline constexpr LayoutRow kTankBookkeeping{"TankJournalBookkeeping", kTripsSection, 856, 4, K::Bookkeeping};

// Section 9: the chequered variants of the x4 and x9 screens; the measured-parameter code of each
// place of the screens of each kind, screen after screen (image/ScreenPlaces.h); the hot-menu slots
// 62..101 (u16 item codes at 2 × slot: four lists of ten); the two colour-scheme sets and the
// active scheme (image/ColourSchemes.h); the words of bits that choose what each screen kind shows.
inline constexpr LayoutRow kDispVar4{"DispVar4", kDisplaySection, 9, 1, K::Setting};
inline constexpr LayoutRow kDispVar9{"DispVar9", kDisplaySection, 10, 1, K::Setting};
inline constexpr LayoutRow kX4Places{"X4Places", kDisplaySection, 12, 6 * 4, K::Setting, 1};
inline constexpr LayoutRow kX7Places{"X7Places", kDisplaySection, 36, 4 * 7, K::Setting, 1};
inline constexpr LayoutRow kGraphPlaces{"GraphPlaces", kDisplaySection, 64, 8 * 2, K::Setting, 1};
inline constexpr LayoutRow kArrowPlaces{"ArrowPlaces", kDisplaySection, 80, 8 * 2, K::Setting, 1};
inline constexpr LayoutRow kX9Places{"X9Places", kDisplaySection, 96, 3 * 9, K::Setting, 1};
inline constexpr LayoutRow kHotMenus{"HotMenus", kDisplaySection, 124, 2 * 40, K::Setting, 2};
inline constexpr LayoutRow kColourSchemes{"ColourSchemes", kDisplaySection, 248, 2 * 56, K::Setting, 56};
inline constexpr LayoutRow kActiveColourScheme{"ActiveColourScheme", kDisplaySection, 360, 1, K::Setting};
inline constexpr LayoutRow kShowDisp4{"ShowDisp_4", kDisplaySection, 380, 2, K::Setting};
inline constexpr LayoutRow kShowDisp9{"ShowDisp_9", kDisplaySection, 382, 2, K::Setting};
inline constexpr LayoutRow kShowDisp7{"ShowDisp_7", kDisplaySection, 384, 2, K::Setting};
inline constexpr LayoutRow kShowDispG{"ShowDisp_G", kDisplaySection, 386, 2, K::Setting};
inline constexpr LayoutRow kShowDispA{"ShowDisp_A", kDisplaySection, 388, 2, K::Setting};
inline constexpr LayoutRow kShowDispS{"ShowDisp_S", kDisplaySection, 390, 2, K::Setting};
inline constexpr LayoutRow kShowDisp1{"ShowDisp_1", kDisplaySection, 392, 8, K::Setting};
inline constexpr LayoutRow kX6Places{"X6Places", kDisplaySection, 400, 1 * 6, K::Setting, 1};
inline constexpr LayoutRow kShowDisp6{"ShowDisp_6", kDisplaySection, 406, 2, K::Setting};

// Section 10: the vehicle's flags word, the protocol and the one chosen before it, the protocol's
// sub-types, and the oscilloscope's choices (indices; the trigger level s16 in the device's units).
inline constexpr LayoutRow kVehicleFlags{"VehicleFlags", kVehicleSection, 0, 4, K::Setting}; // bits
inline constexpr LayoutRow kProtocol{"Protocol", kVehicleSection, 4, 2, K::Setting};
inline constexpr LayoutRow kPreviousProtocol{"PreviousProtocol", kVehicleSection, 6, 2, K::Setting};
// The protocol's sub-type selectors: the main one and 1..3, then 4..7 (selector 2 also tells how
// error codes are written, journals/ErrorCodeText.h).
inline constexpr LayoutRow kProtSubTypes{"ProtSubTypes", kVehicleSection, 12, 4, K::Setting, 1};
inline constexpr LayoutRow kProtSubTypesMore{"ProtSubTypesMore", kVehicleSection, 52, 4, K::Setting, 1};
inline constexpr LayoutRow kOscTimeDiv{"OscTimeDiv", kVehicleSection, 16, 1, K::Setting};
inline constexpr LayoutRow kOscVoltDiv{"OscVoltDiv", kVehicleSection, 17, 1, K::Setting};
inline constexpr LayoutRow kOscInDivider{"OscInDivider", kVehicleSection, 18, 1, K::Setting};
inline constexpr LayoutRow kOscTrigLevel{"OscTrigLevel", kVehicleSection, 20, 2, K::Setting};

// Section 12: the supported-values bitmap, then 7 error entries of 92 bytes.
inline constexpr LayoutRow kSupportedBitmap{"SupportedBitmap", kErrorsSection, 4, 12, K::Bitmap};
inline constexpr LayoutRow kErrorJournal{"ErrorJournal", kErrorsSection, 16, 7 * 92, K::Journal, 92};
} // namespace layout

// Trip and refuelling journals (section 6): 21 entries of 20 bytes each, entry 0 the latest.
constexpr int kJournalEntrySize = layout::kTripJournal.item;
constexpr int kJournalEntryCount = layout::kTripJournal.width / kJournalEntrySize;
constexpr int kTripJournalOffset = layout::kTripJournal.offset;
constexpr int kTankJournalOffset = layout::kTankJournal.offset;

// Error journal (section 12): 7 entries of 92 bytes, after the supported-values bitmap.
constexpr int kErrorEntrySize = layout::kErrorJournal.item;
constexpr int kErrorEntryCount = layout::kErrorJournal.width / kErrorEntrySize;
constexpr int kErrorEntriesOffset = layout::kErrorJournal.offset;
constexpr int kSupportedBitmapOffset = layout::kSupportedBitmap.offset;
constexpr int kSupportedBitmapSize = layout::kSupportedBitmap.width;

// One field of an entry: its bytes within the entry, little-endian (1, 2 or 4 of them, or a
// run of 2-byte values).
struct EntryField
{
    int offset, width;
};
// The bytes of a trip or refuelling entry, described once: the journals and the factory image
// read and write entries through this table only.
struct JournalEntryLayout
{
    EntryField minutes; // time of day
    EntryField day;     // 0 marks an empty entry
    EntryField month;
    EntryField seconds; // time on the road
    EntryField metres;
    EntryField fuel1; // petrol, millilitres
    EntryField fuel2; // gas, millilitres
};
constexpr JournalEntryLayout kJournalEntryLayout = {{0, 2}, {2, 1}, {3, 1}, {4, 4}, {8, 4}, {12, 4}, {16, 4}};
// The bytes of an error entry: its moment, the code (0 marks an empty entry), the code the freeze
// frame was taken for, and the freeze frame's 2-byte values.
struct ErrorEntryLayout
{
    EntryField minutes, day, month, code, frameCode, values;
};
constexpr ErrorEntryLayout kErrorEntryLayout = {{0, 2}, {2, 1}, {3, 1}, {4, 4}, {8, 4}, {12, 80}};

// The 8-byte header of an oscilloscope block (outside the sections): the trigger level (s16, the
// device's units) at +4 and the divider range at +7; bytes 0 and 6 are the device's own (a fresh
// block holds 1 and 4 there), the rest stay 0.
struct OscHeaderLayout
{
    EntryField first, level, sixth, range;
};
constexpr OscHeaderLayout kOscHeaderLayout = {{0, 1}, {4, 2}, {6, 1}, {7, 1}};

// The freeze frame's 2-byte values within an error entry, in the device's order: where each lies
// in the entry and the bit of the supported-values bitmap that announces it (the OBD-II parameter
// number of the same quantity). The fuel-system value holds both systems (high byte, low byte).
struct FrameValueSlot
{
    const char *name;
    int entryOffset;
    int bit;
};
namespace frame {
inline constexpr FrameValueSlot kFuelSystem{"FuelSystem", 12, 3};
inline constexpr FrameValueSlot kEngineLoad{"EngineLoad", 14, 4};
inline constexpr FrameValueSlot kCoolantTemp{"CoolantTemp", 16, 5};
inline constexpr FrameValueSlot kShortTrimB1{"ShortTrimB1", 18, 6};
inline constexpr FrameValueSlot kShortTrimB2{"ShortTrimB2", 20, 8};
inline constexpr FrameValueSlot kLongTrimB1{"LongTrimB1", 22, 7};
inline constexpr FrameValueSlot kLongTrimB2{"LongTrimB2", 24, 9};
inline constexpr FrameValueSlot kFuelPressure{"FuelPressure", 26, 10};
inline constexpr FrameValueSlot kIntakePressure{"IntakePressure", 28, 11};
inline constexpr FrameValueSlot kRevolutions{"Revolutions", 32, 12};
inline constexpr FrameValueSlot kSpeed{"Speed", 30, 13};
inline constexpr FrameValueSlot kIgnitionAdvance{"IgnitionAdvance", 34, 14};
inline constexpr FrameValueSlot kIntakeAirTemp{"IntakeAirTemp", 36, 15};
inline constexpr FrameValueSlot kAirFlow{"AirFlow", 38, 16};
inline constexpr FrameValueSlot kThrottle{"Throttle", 40, 17};
inline constexpr FrameValueSlot kSecondaryAir{"SecondaryAir", 42, 18};
inline constexpr FrameValueSlot kOxygenSensor1{"OxygenSensor1", 44, 20};
inline constexpr FrameValueSlot kOxygenSensor2{"OxygenSensor2", 46, 21};
inline constexpr FrameValueSlot kRunTime{"RunTime", 48, 31};
inline constexpr FrameValueSlot kDistanceWithLamp{"DistanceWithLamp", 50, 33};
inline constexpr FrameValueSlot kRailPressureVacuum{"RailPressureVacuum", 52, 34};
inline constexpr FrameValueSlot kRailPressure{"RailPressure", 54, 35};
inline constexpr FrameValueSlot kEgrCommanded{"EgrCommanded", 56, 44};
inline constexpr FrameValueSlot kEgrError{"EgrError", 58, 45};
inline constexpr FrameValueSlot kEvapPurge{"EvapPurge", 60, 46};
inline constexpr FrameValueSlot kWarmUps{"WarmUps", 62, 48};
inline constexpr FrameValueSlot kDistanceSinceClear{"DistanceSinceClear", 64, 49};
inline constexpr FrameValueSlot kEvapPressure{"EvapPressure", 66, 50};
inline constexpr FrameValueSlot kBarometricPressure{"BarometricPressure", 68, 51};
inline constexpr FrameValueSlot kCatalystB1S1{"CatalystB1S1", 70, 60};
inline constexpr FrameValueSlot kCatalystB2S1{"CatalystB2S1", 72, 61};
inline constexpr FrameValueSlot kCatalystB1S2{"CatalystB1S2", 74, 62};
inline constexpr FrameValueSlot kCatalystB2S2{"CatalystB2S2", 76, 63};
inline constexpr FrameValueSlot kModuleVoltage{"ModuleVoltage", 78, 66};
inline constexpr FrameValueSlot kLambdaCommanded{"LambdaCommanded", 80, 68};
inline constexpr FrameValueSlot kRelativeThrottle{"RelativeThrottle", 82, 69};
inline constexpr FrameValueSlot kAmbientAirTemp{"AmbientAirTemp", 84, 70};
inline constexpr FrameValueSlot kThrottleActuator{"ThrottleActuator", 86, 76};
inline constexpr FrameValueSlot kTimeWithLamp{"TimeWithLamp", 88, 77};
inline constexpr FrameValueSlot kTimeSinceClear{"TimeSinceClear", 90, 78};
} // namespace frame
// Every slot, in the device's order.
const std::vector<FrameValueSlot> &frameValueSlots();

// One set of averages (section 0): u32 seconds, metres and millilitres of each fuel;
// fuel2 < 0 where the set keeps one fuel.
struct AccumulatorLayout
{
    int time, distance, fuel1, fuel2;
};
constexpr int kAccumulatorSetCount = 8;
constexpr int kAccumulatorFieldSize = 4;
constexpr AccumulatorLayout kAccumulatorLayouts[kAccumulatorSetCount] = {
    {0, 4, 8, 136},    {12, 16, 20, 140}, {24, 28, 32, 144},   {36, 40, 44, 148},
    {48, 52, 56, 152}, {60, 64, 68, 156}, {108, 112, 116, -1}, {120, 124, 128, -1},
};

constexpr int kAllPathStartOffset = layout::kAllPathStart.offset;
constexpr int kResetPeriod1Offset = layout::kResetPeriod1.offset;
constexpr int kResetPeriod2Offset = layout::kResetPeriod2.offset;
constexpr int kResetPeriodOnlyOffset = layout::kResetPeriodOnly.offset;
constexpr int kServiceCounterOffset = layout::kServiceCounters.offset;
constexpr int kServiceCounterCount = layout::kServiceCounters.width;

constexpr int kOscTimeDivOffset = layout::kOscTimeDiv.offset;
constexpr int kOscVoltDivOffset = layout::kOscVoltDiv.offset;
constexpr int kOscInDividerOffset = layout::kOscInDivider.offset;
constexpr int kOscTrigLevelOffset = layout::kOscTrigLevel.offset;

// Every row, section by section: those above, one row per field of each set of averages, and
// the tank calibration fields of sections 2 and 3.
const std::vector<LayoutRow> &recordLayout();
// Every field of an entry, in entry order (for whoever walks them all).
std::vector<EntryField> journalEntryFields();
std::vector<EntryField> errorEntryFields();

} // namespace mk
