// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the field table by id. Code names a row by its id, so that a misspelt setting does
// not compile; the setting's name (what mktool, profiles and files say) is the id's own spelling,
// given here once and nowhere else.
//
// A new setting: one line in MK_FIELD_IDS, in the place of its row, and its row in
// FieldTableData.cpp (`.id = FieldId::Name`); FieldTable.EveryIdHasExactlyOneRow fails until both
// are there.

#include <array>
#include <optional>

namespace mk {

// X(Name): the id FieldId::Name of the setting "Name". N(Id, "name"): a name that is no identifier.
// In the order of the rows.
// clang-format off
#define MK_FIELD_IDS(X, N) \
    X(AllPathStart) \
    X(TimeCorr) \
    X(ForsPosFlag) \
    X(AirTemperCorr) \
    X(ExpenseCorr) \
    X(VelocityCorr) \
    X(AccCorr) \
    X(GazExpenseCorr) \
    X(ForsCoef) \
    X(TankMode) \
    X(TankMeth) \
    X(K100Manual) \
    X(TankContFull) \
    X(GazContFull) \
    X(GasMeth) \
    X(AirTemperMeth) \
    X(PrognozMeth) \
    X(VelocityMeth) \
    X(ExpenseMeth) \
    X(RevolutionsMeth) \
    X(GasOilMeth) \
    X(UaccMeth) \
    X(Intense0) \
    X(Intense1) \
    X(IntenseMeth) \
    X(IntenseDayTime) \
    X(IntenseNightTime) \
    X(Protocol) \
    X(ProtocolSelectMeth) \
    X(LockTypeLevel) \
    X(ProtTypeMain) \
    X(ProtTypeAdd1) \
    X(ProtTypeAdd2) \
    X(ProtTypeAdd3) \
    X(ProtTypeAdd4) \
    X(ProtTypeAdd5) \
    X(ProtTypeAdd6) \
    X(ProtTypeAdd7) \
    X(LockType) \
    X(GabarType) \
    X(UseTank2) \
    X(LightsOn) \
    X(GasOil) \
    X(GabarInvPol) \
    N(Supply24VMode, "24VMode") \
    X(VelocityLimit) \
    X(RevolutionsLimit) \
    X(TankLimit) \
    X(LiqTemperLimit) \
    X(UaccLowLimit) \
    X(StopVelocityLimit) \
    X(UaccHighLimit) \
    X(VentTempLimit) \
    X(InjTimeLimit) \
    X(Vel100) \
    X(Vel100Down) \
    X(LiqTemperReady) \
    X(Exp100ArrowLim) \
    X(VAGSFilterLimit) \
    X(OilAKPPTemperLimit) \
    X(OilEngTemperLimit) \
    X(CVTFDeteriorLim) \
    X(InvTemperLimit) \
    X(RetarderOilTemperLimit) \
    X(HVBTemperLimit) \
    X(ShowDisp_4_0) \
    X(ShowDisp_4_1) \
    X(ShowDisp_4_2) \
    X(ShowDisp_4_3) \
    X(ShowDisp_4_4) \
    X(ShowDisp_4_5) \
    X(ShowDisp_9_0) \
    X(ShowDisp_9_1) \
    X(ShowDisp_9_2) \
    X(ShowDisp_7_0) \
    X(ShowDisp_7_1) \
    X(ShowDisp_7_2) \
    X(ShowDisp_7_3) \
    X(ShowDisp_G_0) \
    X(ShowDisp_G_1) \
    X(ShowDisp_G_2) \
    X(ShowDisp_G_3) \
    X(ShowDisp_G_4) \
    X(ShowDisp_G_5) \
    X(ShowDisp_G_6) \
    X(ShowDisp_G_7) \
    X(ShowDisp_A_0) \
    X(ShowDisp_A_1) \
    X(ShowDisp_A_2) \
    X(ShowDisp_A_3) \
    X(ShowDisp_A_4) \
    X(ShowDisp_A_5) \
    X(ShowDisp_A_6) \
    X(ShowDisp_A_7) \
    X(ShowDisp_6_0) \
    X(ShowDisp_S_0) \
    X(ShowDisp_S_1) \
    X(ShowDisp_S_2) \
    X(ShowDisp_S_3) \
    X(ShowDisp_S_4) \
    X(ShowDisp_S_5) \
    X(ShowDisp_S_6) \
    X(ShowDisp_S_7) \
    X(ShowDisp_S_8) \
    X(ShowDisp_1_0) \
    X(ShowDisp_1_1) \
    X(ShowDisp_1_2) \
    X(ShowDisp_1_3) \
    X(ShowDisp_1_4) \
    X(ShowDisp_1_5) \
    X(ShowDisp_1_6) \
    X(ShowDisp_1_7) \
    X(ShowDisp_1_8) \
    X(ShowDisp_1_9) \
    X(ShowDisp_1_10) \
    X(ShowDisp_1_11) \
    X(ShowDisp_1_12) \
    X(ShowDisp_1_13) \
    X(ShowDisp_1_14) \
    X(ShowDisp_1_15) \
    X(ShowDisp_1_16) \
    X(ShowDisp_1_17) \
    X(ShowDisp_1_18) \
    X(ShowDisp_1_19) \
    X(ShowDisp_1_20) \
    X(ShowDisp_1_21) \
    X(ShowDisp_1_22) \
    X(ShowDisp_1_23) \
    X(ShowDisp_1_24) \
    X(ShowDisp_1_25) \
    X(ShowDisp_1_26) \
    X(ShowDisp_1_27) \
    X(ShowDisp_1_28) \
    X(ShowDisp_1_29) \
    X(ShowDisp_1_30) \
    X(ShowDisp_1_31) \
    X(ShowDisp_1_32) \
    X(ShowDisp_1_33) \
    X(ShowDisp_1_34) \
    X(ShowDisp_1_35) \
    X(ShowDisp_1_36) \
    X(ShowDisp_1_37) \
    X(ShowDisp_1_38) \
    X(ShowDisp_1_39) \
    X(AirWaterShow) \
    X(DispSpeed) \
    X(DispShowTitle) \
    X(ShowDispName) \
    X(AlarmVelSecNoSayMax) \
    X(SayHelloMode) \
    X(SoundVolume) \
    X(FlagSound) \
    X(SayEconomPeriod) \
    X(SayParamPeriod) \
    X(SoundKeys) \
    X(SoundLock) \
    X(apUAccHigh_F) \
    X(apUAccHigh_N) \
    X(apUAccLow_F) \
    X(apUAccLow_N) \
    X(apVel_F) \
    X(apVel_N) \
    X(apRev_F) \
    X(apRev_N) \
    X(apTank_F) \
    X(apTank_N) \
    X(apHolo_F) \
    X(apHolo_N) \
    X(apTO_F) \
    X(ap100_F) \
    X(ap100_N) \
    X(ap100Down_F) \
    X(ap100Down_N) \
    X(apError_F) \
    X(apLiqTempHigh_F) \
    X(apLiqTempHigh_N) \
    X(apEconom_F) \
    X(apEconom_N) \
    X(apGabar_F) \
    X(apTankFull_F) \
    X(apInjTime_F) \
    X(apLiqTempReady_F) \
    X(apLights_F) \
    X(apSFilter_F) \
    X(apHVBTemperHigh_F) \
    X(apHVBTemperHigh_N) \
    X(apTemperOilAKPPHigh_F) \
    X(apTemperOilAKPPHigh_N) \
    X(apTemperOilEngHigh_F) \
    X(apTemperOilEngHigh_N) \
    X(apCVTFDeterior_F) \
    X(apRetarderOilTemperHigh_F) \
    X(apRetarderOilTemperHigh_N) \
    X(apInvTemperHigh_F) \
    X(apInvTemperHigh_N) \
    X(ResetPeriod0) \
    X(ResetPeriod1) \
    X(ResetPeriodOnly) \
    X(PriceExpense) \
    X(PriceTime) \
    X(PricePath) \
    X(PriceGas) \
    X(TripShowFlag) \
    X(TripJournAuto) \
    X(TripMinStop) \
    X(ParkUse0) \
    X(ParkUse1) \
    X(ParkSense0) \
    X(ParkSense1) \
    X(ParkSpeed0) \
    X(ParkSpeed1) \
    X(ParkMinLeng0) \
    X(ParkMinLeng1) \
    X(ParkStopVel0) \
    X(ParkStopVel1) \
    X(ParkStopLeng0) \
    X(ParkStopLeng1) \
    X(ParkBeepType) \
    X(ParkStopLengBeep) \
    X(ParkForwConstOff) \
    X(ParkFarkopLen) \
    X(ParkType) \
    X(AirFiltCntK) \
    X(KPPOilCntK) \
    X(ForsTOCntK) \
    X(GRMStrapCntK) \
    X(CoolLiqCntK) \
    X(EngOilCntK) \
    X(CandleCntK) \
    X(TO) \
    X(OSAGO) \
    X(ForsTOCntKName) \
    X(GRMStrapCntKName) \
    X(CandleCntKName) \
    X(AirFiltCntKUse) \
    X(KPPOilCntKUse) \
    X(ForsTOCntKUse) \
    X(GRMStrapCntKUse) \
    X(CoolLiqCntKUse) \
    X(EngOilCntKUse) \
    X(CandleCntKUse) \
    X(TOUse) \
    X(OSAGOUse) \
    X(UseUniMeas) \
    X(UniMeasDat0) \
    X(UniMeasDat1) \
    X(UniMeasADC0) \
    X(UniMeasADC1) \
    X(UniMeasStr) \
    X(Oil6L) \
    X(Lit6L) \
    X(Oil43L) \
    X(Lit43L) \
    X(OilCalibrQuant) \
    X(OilCalibrResArr0) \
    X(OilCalibrLitArr0) \
    X(OilCalibrResArr1) \
    X(OilCalibrLitArr1) \
    X(OilCalibrResArr2) \
    X(OilCalibrLitArr2) \
    X(OilCalibrResArr3) \
    X(OilCalibrLitArr3) \
    X(OilCalibrResArr4) \
    X(OilCalibrLitArr4) \
    X(OilCalibrResArr5) \
    X(OilCalibrLitArr5) \
    X(OilCalibrResArr6) \
    X(OilCalibrLitArr6) \
    X(TarirFlagFinish) \
    X(TarirLeng) \
    X(TarirIncline)
// clang-format on

enum class FieldId : short {
#define MK_FIELD_ID_ENUMERATOR(id, ...) id,
    MK_FIELD_IDS(MK_FIELD_ID_ENUMERATOR, MK_FIELD_ID_ENUMERATOR)
#undef MK_FIELD_ID_ENUMERATOR
};

namespace detail {
#define MK_FIELD_ID_NAME(id) #id,
#define MK_FIELD_ID_OWN_NAME(id, name) name,
inline constexpr const char *kFieldNames[] = {MK_FIELD_IDS(MK_FIELD_ID_NAME, MK_FIELD_ID_OWN_NAME)};
#undef MK_FIELD_ID_NAME
#undef MK_FIELD_ID_OWN_NAME
} // namespace detail

inline constexpr int kFieldCount = int(std::size(detail::kFieldNames));

// The setting's name: "VelocityLimit", "24VMode".
constexpr const char *fieldName(FieldId id) { return detail::kFieldNames[int(id)]; }

// The families of rows that code walks by number.

// The protocol's sub-type selectors: the main one, then the additional ones 1..7.
inline constexpr std::array<FieldId, 8> kProtocolSubTypeFields = {
    FieldId::ProtTypeMain, FieldId::ProtTypeAdd1, FieldId::ProtTypeAdd2, FieldId::ProtTypeAdd3,
    FieldId::ProtTypeAdd4, FieldId::ProtTypeAdd5, FieldId::ProtTypeAdd6, FieldId::ProtTypeAdd7};
// The selector number of a sub-type field; nothing for other fields.
constexpr std::optional<int> protocolSubTypeSelector(FieldId id)
{
    for (int s = 0; s < int(kProtocolSubTypeFields.size()); ++s)
        if (kProtocolSubTypeFields[size_t(s)] == id)
            return s;
    return std::nullopt;
}

// The settings of one side of the parking sensors: 0 the rear, 1 the front.
struct ParkingSideFields
{
    FieldId use, sense, speed, minLength, stopLength, stopVelocity;
};
inline constexpr std::array<ParkingSideFields, 2> kParkingSideFields = {{
    {FieldId::ParkUse0, FieldId::ParkSense0, FieldId::ParkSpeed0, FieldId::ParkMinLeng0, FieldId::ParkStopLeng0,
     FieldId::ParkStopVel0},
    {FieldId::ParkUse1, FieldId::ParkSense1, FieldId::ParkSpeed1, FieldId::ParkMinLeng1, FieldId::ParkStopLeng1,
     FieldId::ParkStopVel1},
}};

// A service reminder: its counter or date, its "use" box and, for some, its name.
struct ServiceReminderFields
{
    FieldId value;
    FieldId use;
    std::optional<FieldId> name;
};
// In the order of the page's rows: the counters, then the dates.
inline constexpr std::array<ServiceReminderFields, 9> kServiceReminderFields = {{
    {FieldId::AirFiltCntK, FieldId::AirFiltCntKUse, std::nullopt},
    {FieldId::KPPOilCntK, FieldId::KPPOilCntKUse, std::nullopt},
    {FieldId::ForsTOCntK, FieldId::ForsTOCntKUse, FieldId::ForsTOCntKName},
    {FieldId::GRMStrapCntK, FieldId::GRMStrapCntKUse, FieldId::GRMStrapCntKName},
    {FieldId::CoolLiqCntK, FieldId::CoolLiqCntKUse, std::nullopt},
    {FieldId::EngOilCntK, FieldId::EngOilCntKUse, std::nullopt},
    {FieldId::CandleCntK, FieldId::CandleCntKUse, FieldId::CandleCntKName},
    {FieldId::TO, FieldId::TOUse, std::nullopt},
    {FieldId::OSAGO, FieldId::OSAGOUse, std::nullopt},
}};

// The points of the 7-point calibration: the sensor's reading and the litres of point k.
inline constexpr std::array<FieldId, 7> kCalibrationReadingFields = {
    FieldId::OilCalibrResArr0, FieldId::OilCalibrResArr1, FieldId::OilCalibrResArr2, FieldId::OilCalibrResArr3,
    FieldId::OilCalibrResArr4, FieldId::OilCalibrResArr5, FieldId::OilCalibrResArr6};
inline constexpr std::array<FieldId, 7> kCalibrationLitreFields = {
    FieldId::OilCalibrLitArr0, FieldId::OilCalibrLitArr1, FieldId::OilCalibrLitArr2, FieldId::OilCalibrLitArr3,
    FieldId::OilCalibrLitArr4, FieldId::OilCalibrLitArr5, FieldId::OilCalibrLitArr6};

namespace detail {
template<size_t n>
constexpr bool allDistinct(const std::array<FieldId, n> &ids)
{
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (ids[i] == ids[j])
                return false;
    return true;
}
} // namespace detail
static_assert(detail::allDistinct(kProtocolSubTypeFields));
static_assert(detail::allDistinct(kCalibrationReadingFields) && detail::allDistinct(kCalibrationLitreFields));

} // namespace mk
