// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DefaultRecords.h"

#include "base/Text.h"
#include "catalogs/MenuItems.h"
#include "image/ColourSchemes.h"
#include "image/RecordLayout.h"
#include "image/TankCalibration.h"

#include <initializer_list>

namespace mk {

namespace {

void putBytes(Record &rec, int off, std::initializer_list<int> values)
{
    for (int v : values)
        rec.setU8(off++, quint8(v));
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
    h.setU8(0, 1);
    h.setU16(4, 128);
    h.setU8(6, 4);
    return h.bytes();
}

std::array<Record, kSectionCount> makeDefaultRecords()
{
    std::array<Record, kSectionCount> r;
    for (int k = 0; k < kSectionCount; ++k)
        r[size_t(k)] = Record(kRecordSizes[size_t(k)]);

    // Section 0: reset periods.
    r[kCountersSection].setU8(kResetPeriod2Offset, 255);
    r[kCountersSection].setU8(kResetPeriodOnlyOffset, 255);

    // Section 2: fuel-level sensor calibration.
    Record &s2 = r[kFuelSensorSection];
    s2.setU16(tank::kOil6L, 1000);
    s2.setU16(tank::kLit6L, 6);
    s2.setU16(tank::kOil43L, 10);
    s2.setU16(tank::kLit43L, 43);
    for (int i = 0; i < tank::kPointCount; ++i) {
        s2.setU16(tank::kOilCalibrResArr + 2 * i, quint16(100 * i));
        s2.setU16(tank::kOilCalibrLitArr + 2 * i, quint16(6 * i));
    }
    s2.setU8(tank::kOilCalibrQuant, tank::kPointCount);
    s2.setU16(44, 50);
    s2.setU16(56, 50);

    // Section 3: a complete tank calibration table of 15 rows in the tank page's layout (count +2,
    // direction +6, incline +7, litres from +8, sensor codes from +144). Row i holds 3·i + 16
    // litres at sensor code 50·i: the two numbers of the sample points, the litres being the one
    // that fits a byte. The codes rise with the level ("Прямой") and start below 241 (direction 0).
    Record &s3 = r[kTankTableSection];
    s3.setU8(tank::kTarirFlagFinish, 1);
    s3.setU8(tank::kTarirLeng, 15);
    s3.setU8(tank::kTarirDir, 0);
    s3.setU8(tank::kTarirIncline, 1);
    for (int i = 0; i < 15; ++i) {
        s3.setU8(tank::kTarirLit + i, quint8(3 * i + 16));
        s3.setU16(tank::kTarirCode + 2 * i, quint16(50 * i));
    }

    // Section 4: service reminders and the universal input.
    Record &s4 = r[kServiceSection];
    putBytes(s4, kServiceCounterOffset, {15, 45, 30, 45, 30, 15, 30});
    s4.setU8(7, 1);
    s4.setU32(8, 4392);
    s4.setU32(12, 4392);
    s4.setU16(52, 0);
    s4.setU16(54, 1023);
    s4.setU16(56, 0);
    s4.setU16(58, 90);
    s4.setRaw(60, toWin1251Z(QStringLiteral("Трим"), 7));
    s4.setRaw(68, toWin1251Z(QStringLiteral("ТО форсунки"), 16));
    s4.setRaw(84, toWin1251Z(QStringLiteral("Замена рем.ГРМ"), 16));
    s4.setRaw(100, toWin1251Z(QStringLiteral("Замена свечей"), 16));
    s4.setU16(116, 511);

    // Section 5: limits, corrections, measuring methods.
    Record &s5 = r[kLimitsSection];
    putBytes(s5, 0, {40, 80, 10});
    s5.setU16(4, 115);
    s5.setU16(6, 115);
    s5.setU16(8, 20);
    s5.setU16(10, 155);
    s5.setU16(12, 115);
    putBytes(s5, 20, {1, 1, 9});
    s5.setU16(28, 100);
    s5.setU16(30, 100);
    s5.setF32(32, 1.0f);
    s5.setF32(36, 1.0f);
    s5.setU8(41, 70);
    s5.setU8(45, 1);
    s5.setU8(47, 25);
    s5.setF32(48, 1.0f);
    s5.setU16(52, 110);
    s5.setU16(54, 110);
    s5.setU16(56, 30);
    s5.setU8(59, 120);
    s5.setU16(60, 165);
    s5.setU8(62, 120);

    // Section 6: prices (journal entries stay empty).
    r[kTripsSection].setU16(layout::kPriceExpense.offset, 250);
    r[kTripsSection].setU16(layout::kPriceTime.offset, 0);
    r[kTripsSection].setU16(layout::kPricePath.offset, 30);

    // Section 9: display layouts, hot menus, colours, sound.
    Record &s9 = r[kDisplaySection];
    putBytes(s9, 12, {4, 14, 8, 9, 13, 10, 11, 4, 1, 2, 5, 9, 7, 12, 3, 6, 7, 10, 8, 12, 18, 25, 27, 21});
    putBytes(s9, 36, {1, 2, 8, 9, 14, 5, 12, 13, 10, 11, 6, 15, 5, 12, 16, 8, 9, 10, 14, 5, 12, 7, 3, 13, 2, 14, 5, 9});
    putBytes(s9, 64, {13, 10, 12, 14, 24, 17, 20, 18, 20, 22, 13, 16, 13, 0, 20, 21});
    putBytes(s9, 80, {13, 10, 14, 12, 11, 17, 20, 25, 20, 16, 13, 16, 13, 12, 20, 21});
    putBytes(s9, 96, {14, 5, 12, 1, 2, 6, 10, 8, 9, 11, 24, 13, 23, 18, 17, 7, 19, 22, 1, 2, 3, 5, 14, 6, 20, 24, 25});
    for (int i = 0; i < kHotMenuSlotCount; ++i)
        s9.setU16(2 * (kHotMenuFirstSlot + i), defaultMenuItemCode(QString::fromLatin1(kDefaultHotMenu[i])));
    s9.setRaw(kColourSchemeOffset, makeColourPreset(1));
    s9.setRaw(kColourSchemeOffset + kColourSchemeSize, makeColourPreset(4));
    s9.setU8(kActiveColourSchemeOffset, 1);
    s9.setU16(380, 63);
    s9.setU16(382, 7);
    s9.setU16(384, 15);
    s9.setU16(386, 255);
    s9.setU16(388, 255);
    s9.setU16(390, 511);
    s9.setU32(392, 0xFFFFFFFFu);
    s9.setU32(396, 0);
    putBytes(s9, 400, {12, 17, 13, 10, 8, 9});
    s9.setU16(406, 1);

    return r;
}

} // namespace mk
