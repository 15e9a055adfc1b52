// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DefaultRecords.h"

#include "base/Text.h"
#include "catalogs/MenuItems.h"
#include "image/ColourSchemes.h"
#include "image/DeviceRecorded.h"
#include "image/RecordLayout.h"
#include "image/TankCalibration.h"

#include <initializer_list>

namespace mk {

namespace {

// The value of one row, stored little-endian in the row's width (1 to 8 bytes).
void put(std::array<Record, kSectionCount> &r, const LayoutRow &row, quint64 value)
{
    Q_ASSERT(row.width >= 1 && row.width <= 8 && row.item == 0);
    Record &rec = r[size_t(row.section)];
    for (int i = 0; i < row.width; ++i, value >>= 8)
        rec.setU8(row.offset + i, quint8(value & 0xFF));
}

// A float factor of four bytes.
void putFloat(std::array<Record, kSectionCount> &r, const LayoutRow &row, float value)
{
    Q_ASSERT(row.width == 4);
    r[size_t(row.section)].setF32(row.offset, value);
}

// Zero-terminated Windows-1251 text filling the row.
void putText(std::array<Record, kSectionCount> &r, const LayoutRow &row, const QString &text)
{
    r[size_t(row.section)].setRaw(row.offset, toWin1251Z(text, row.width));
}

// A run of one-byte values, one for each value of the row.
void putRun(std::array<Record, kSectionCount> &r, const LayoutRow &row, std::initializer_list<int> values)
{
    Q_ASSERT(row.item == 1 && int(values.size()) == row.width);
    int off = row.offset;
    for (int v : values)
        r[size_t(row.section)].setU8(off++, quint8(v));
}

struct Preset
{
    quint16 colours[kPaletteSize];
    quint8 indices[kRoleCount];
};

// The four colour-scheme presets of the device.
const Preset kPresets[4] = {
    {{0x0000, 0x0269, 0xFB60, 0x4A60, 0x0006, 0x4809, 0x4C71, 0x8410, 0x6163, 0xF800, 0x07E0, 0xFFE0, 0x001F, 0xF81F,
      0x07FF, 0xFFFF},
     {15, 4, 11, 12, 15, 15, 9, 10, 15, 4, 9, 11, 0, 4, 15, 14, 13, 0, 15, 0, 0, 0, 9}},
    {{0x0000, 0x0269, 0xFB60, 0x4200, 0x0006, 0x4809, 0x0468, 0x8410, 0x6163, 0xF800, 0x07E0, 0xFFE0, 0x001F, 0xF81F,
      0x07FF, 0xFFFF},
     {0, 11, 15, 3, 0, 15, 9, 12, 15, 3, 11, 14, 0, 3, 15, 14, 11, 0, 0, 0, 0, 0, 9}},
    {{0x0000, 0x0269, 0xFB60, 0x4A60, 0x2104, 0x4809, 0x4C71, 0x8410, 0x6163, 0xF800, 0x07E0, 0xFFE0, 0x001F, 0xF81F,
      0x07FF, 0xFFFF},
     {15, 0, 11, 4, 15, 15, 9, 10, 15, 0, 11, 15, 4, 0, 15, 0, 0, 15, 11, 15, 11, 4, 9}},
    {{0x0000, 0x0269, 0xFB60, 0x4A60, 0x0006, 0x4809, 0x4C71, 0x8410, 0x2860, 0xF800, 0x07E0, 0xFFE0, 0x001F, 0xF81F,
      0x07FF, 0xFFFF},
     {15, 9, 11, 8, 15, 15, 13, 10, 15, 8, 9, 11, 0, 8, 15, 11, 9, 0, 15, 0, 0, 0, 9}},
};

// Default hot-menu items of slots 62..101 by identifier ("" = empty slot); a fresh model stores
// the codes the item catalog gives them with no feature flag set.
const char *const kDefaultHotMenu[kHotMenuSlotCount] = {"FullTankMenu",
                                                        "ToTankMenu",
                                                        "FlagSoundMenu",
                                                        "VelocityLimitMenu",
                                                        "PrognozMenu", // 62..66
                                                        "ExpenseHHMenu",
                                                        "",
                                                        "MeasParamsHistoryFlagMenu",
                                                        "",
                                                        "", // 67..71
                                                        "TripJournMenu",
                                                        "InitReset0ParamsMenu",
                                                        "InitReset1ParamsMenu",
                                                        "ContinueTripMenu", // 72..75
                                                        "TankJournMenu",
                                                        "",
                                                        "",
                                                        "",
                                                        "",
                                                        "", // 76..81
                                                        "TaxStartFinishMenu",
                                                        "TaxTarifDNMenu",
                                                        "TaxTarifNumMenu",
                                                        "TaxClearAllSumMenu", // 82..85
                                                        "",
                                                        "",
                                                        "",
                                                        "",
                                                        "",
                                                        "", // 86..91
                                                        "ParkOffMenu",
                                                        "ParkSenseMenu_0",
                                                        "ParkSpeedMenu_0",
                                                        "ParkBeepTypeMenu", // 92..95
                                                        "ParkAlwaysOnMenu",
                                                        "",
                                                        "",
                                                        "",
                                                        "",
                                                        ""}; // 96..101

} // namespace

QByteArray makeColourPreset(int number)
{
    const Preset &p = kPresets[qBound(1, number, 4) - 1];
    Record rec(kColourSchemeSize);
    for (int i = 0; i < kPaletteSize; ++i)
        rec.setU16(2 * i, p.colours[i]);
    for (int i = 0; i < kRoleCount; ++i)
        rec.setU8(kRoleIndexOffset + i, p.indices[i]);
    return rec.bytes();
}

QByteArray defaultOscHeader()
{
    Record h(kOscHeaderSize);
    const OscHeaderLayout &l = kOscHeaderLayout;
    setEntryField(h, 0, l.first, 1);
    setEntryField(h, 0, l.level, 128);
    setEntryField(h, 0, l.sixth, 4);
    return h.bytes();
}

std::array<Record, kSectionCount> makeDefaultRecords()
{
    std::array<Record, kSectionCount> r;
    for (int k = 0; k < kSectionCount; ++k)
        r[size_t(k)] = Record(kRecordSizes[size_t(k)]);

    using namespace layout;
    // Section 0: reset periods.
    put(r, kResetPeriod2, 255);
    put(r, kResetPeriodOnly, 255);

    // Section 2: fuel-level sensor calibration, tank volumes.
    put(r, kOil6L, 1000);
    put(r, kLit6L, 6);
    put(r, kOil43L, 10);
    put(r, kLit43L, 43);
    Record &s2 = r[kFuelSensorSection];
    for (int i = 0; i < tank::kPointCount; ++i) {
        s2.setU16(kOilCalibrResArr.offset + kOilCalibrResArr.item * i, quint16(100 * i));
        s2.setU16(kOilCalibrLitArr.offset + kOilCalibrLitArr.item * i, quint16(6 * i));
    }
    put(r, kOilCalibrQuant, tank::kPointCount);
    put(r, kTankContFull, 50);
    put(r, kGazContFull, 50);

    // Section 3: a complete tank calibration table of 15 rows in the tank page's layout. Row i
    // holds 3·i + 16 litres at sensor code 50·i: the two numbers of the sample points, the litres
    // being the one that fits a byte. The codes rise with the level ("Прямой") and start below
    // 241 (direction 0).
    put(r, kTarirFlagFinish, 1);
    put(r, kTarirLeng, 15);
    put(r, kTarirDir, 0);
    put(r, kTarirIncline, 1);
    Record &s3 = r[kTankTableSection];
    for (int i = 0; i < 15; ++i) {
        s3.setU8(kTarirLit.offset + kTarirLit.item * i, quint8(3 * i + 16));
        s3.setU16(kTarirCode.offset + kTarirCode.item * i, quint16(50 * i));
    }

    // Section 4: service reminders and the universal input.
    putRun(r, kServiceCounters, {15, 45, 30, 45, 30, 15, 30});
    put(r, kUseUniMeas, 1);
    put(r, kTO, 4392);
    put(r, kOSAGO, 4392);
    put(r, kUniMeasADC0, 0);
    put(r, kUniMeasADC1, 1023);
    put(r, kUniMeasDat0, 0);
    put(r, kUniMeasDat1, 90);
    putText(r, kUniMeasStr, QStringLiteral("Трим"));
    putText(r, kForsTOCntKName, QStringLiteral("ТО форсунки"));
    putText(r, kGRMStrapCntKName, QStringLiteral("Замена рем.ГРМ"));
    putText(r, kCandleCntKName, QStringLiteral("Замена свечей"));
    put(r, kServiceUse, 511);

    // Section 5: limits, corrections, measuring methods.
    put(r, kVelocityLimit, 40);
    put(r, kRevolutionsLimit, 80);
    put(r, kTankLimit, 10);
    put(r, kLiqTemperLimit, 115);
    put(r, kUaccLowLimit, 115);
    put(r, kStopVelocityLimit, 20);
    put(r, kUaccHighLimit, 155);
    put(r, kVentTempLimit, 115);
    put(r, kForsPosFlag, 1);
    put(r, kForsCoef, 1);
    put(r, kInjTimeLimit, 9);
    put(r, kVel100, 100);
    put(r, kVel100Down, 100);
    putFloat(r, kExpenseCorr, 1.0f);
    putFloat(r, kVelocityCorr, 1.0f);
    put(r, kLiqTemperReady, 70);
    put(r, kGasOilMeth, 1);
    put(r, kVAGSFilterLimit, 25);
    putFloat(r, kGazExpenseCorr, 1.0f);
    put(r, kOilAKPPTemperLimit, 110);
    put(r, kOilEngTemperLimit, 110);
    put(r, kCVTFDeteriorLim, 30);
    put(r, kInvTemperLimit, 120);
    put(r, kRetarderOilTemperLimit, 165);
    put(r, kHVBTemperLimit, 120);

    // Section 6: prices (journal entries stay empty).
    put(r, kPriceExpense, 250);
    put(r, kPriceTime, 0);
    put(r, kPricePath, 30);

    // Section 9: display layouts, hot menus, colours, sound.
    putRun(r, kX4Places, {4, 14, 8, 9, 13, 10, 11, 4, 1, 2, 5, 9, 7, 12, 3, 6, 7, 10, 8, 12, 18, 25, 27, 21});
    putRun(r, kX7Places,
           {1, 2, 8, 9, 14, 5, 12, 13, 10, 11, 6, 15, 5, 12, 16, 8, 9, 10, 14, 5, 12, 7, 3, 13, 2, 14, 5, 9});
    putRun(r, kGraphPlaces, {13, 10, 12, 14, 24, 17, 20, 18, 20, 22, 13, 16, 13, 0, 20, 21});
    putRun(r, kArrowPlaces, {13, 10, 14, 12, 11, 17, 20, 25, 20, 16, 13, 16, 13, 12, 20, 21});
    putRun(r, kX9Places,
           {14, 5, 12, 1, 2, 6, 10, 8, 9, 11, 24, 13, 23, 18, 17, 7, 19, 22, 1, 2, 3, 5, 14, 6, 20, 24, 25});
    Record &s9 = r[kDisplaySection];
    for (int i = 0; i < kHotMenuSlotCount; ++i)
        s9.setU16(kHotMenus.offset + kHotMenus.item * i, defaultMenuItemCode(QString::fromLatin1(kDefaultHotMenu[i])));
    s9.setRaw(colourSchemeOffset(0), makeColourPreset(1));
    s9.setRaw(colourSchemeOffset(1), makeColourPreset(4));
    put(r, kActiveColourScheme, 1);
    put(r, kShowDisp4, 63);
    put(r, kShowDisp9, 7);
    put(r, kShowDisp7, 15);
    put(r, kShowDispG, 255);
    put(r, kShowDispA, 255);
    put(r, kShowDispS, 511);
    put(r, kShowDisp1, 0xFFFFFFFFu);
    putRun(r, kX6Places, {12, 17, 13, 10, 8, 9});
    put(r, kShowDisp6, 1);

    return r;
}

} // namespace mk
