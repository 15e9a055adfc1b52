// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "base/Text.h"
#include "image/TMK.h"
#include "journals/FreezeFrame.h"
#include "journals/JournalGrids.h"

#include "support/JournalRows.h"
#include "support/QtPrinters.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace mk;
using namespace mk::test;

namespace {} // namespace

TEST(JournalGrids, EmptyJournalShowsEmptyInEveryRow)
{
    Record s6 = section(6);
    for (JournalKind kind : {JournalKind::Trip, JournalKind::Tank}) {
        const auto rows = journalGridRows(s6, kind);
        ASSERT_EQ(rows.size(), 22);
        EXPECT_EQ(rows[0], row({"#", "Дата и время записи", "Время в пути", "Пробег, км", "Расход топлива, л",
                                "Ср. скорость, км/час", "Ср. расход на 100 км", "Ср. расход в час", "Стоимость"}));
        for (int k = 0; k < 21; ++k) {
            const QString label = k == 0 ? QStringLiteral("Посл.") : QString::number(k);
            EXPECT_EQ(rows[k + 1], QStringList({label, QStringLiteral("Пусто"), {}, {}, {}, {}, {}, {}, {}})) << k;
        }
    }
}

TEST(JournalGrids, EntryTextsAndAverages)
{
    Record s6 = section(6); // prices: petrol 250, time 0, distance 30
    s6.setU16(2, 60);       // per hour
    s6.setU16(6, 120);      // gas
    // 08:05 on 7 December; 1 h 02 min 59 s; 41.3 km; 3.6 l petrol + 0.45 l gas.
    setJournalEntry(s6, JournalKind::Trip, 0, {485, 7, 12, 3779, 41300, 3600, 450});
    const auto rows = journalGridRows(s6, JournalKind::Trip);
    // cost: (41.3 × 30 + 3.6 × 250 + 0.45 × 120 + 3779/360 × 60) / 10 = 282.28...
    EXPECT_EQ(rows[1], row({"Посл.", "08:05   7.12", "1:02", "41.300", "4.050", "39", "9.8", "3.86", "282.3"}));
    // The other journal is a different area of the record.
    EXPECT_EQ(journalGridRows(s6, JournalKind::Tank)[1][1], QStringLiteral("Пусто"));
}

TEST(JournalGrids, ZeroTimeOrDistanceShowsDashesButACost)
{
    Record s6 = section(6);
    setJournalEntry(s6, JournalKind::Tank, 3, {600, 21, 11, 0, 512000, 41200, 0});
    setJournalEntry(s6, JournalKind::Tank, 4, {600, 21, 11, 300, 0, 100, 0});
    const auto rows = journalGridRows(s6, JournalKind::Tank);
    // (512 × 30 + 41.2 × 250) / 10
    EXPECT_EQ(rows[4], row({"3", "10:00   21.11", "0:00", "512.000", "41.200", "---", "8.0", "---", "2566.0"}));
    EXPECT_EQ(rows[5].mid(5), row({"0", "---", "1.20", "2.5"}));
}

TEST(JournalGrids, AverageSpeedRoundsHalvesToEven)
{
    Record s6 = section(6);
    setJournalEntry(s6, JournalKind::Trip, 0, {0, 1, 1, 3600, 2500, 0, 0}); // 2.5 km/h
    setJournalEntry(s6, JournalKind::Trip, 1, {0, 1, 1, 3600, 3500, 0, 0}); // 3.5 km/h
    const auto rows = journalGridRows(s6, JournalKind::Trip);
    EXPECT_EQ(rows[1][5], QStringLiteral("2"));
    EXPECT_EQ(rows[2][5], QStringLiteral("4"));
}

TEST(JournalGrids, LargestCountersDoNotOverflow)
{
    Record s6 = section(6);
    setJournalEntry(s6, JournalKind::Trip, 0, {0, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    const auto rows = journalGridRows(s6, JournalKind::Trip);
    EXPECT_EQ(rows[1][3], QStringLiteral("4294967.295"));
    EXPECT_EQ(rows[1][4], QStringLiteral("8589934.590")); // the two quantities summed beyond 32 bits
    EXPECT_EQ(rows[1][6], QStringLiteral("200.0"));
}

TEST(JournalGrids, ClearingAJournalEmptiesOnlyItsEntries)
{
    Record s6 = section(6);
    for (int k = 0; k < kJournalEntryCount; ++k) {
        setJournalEntry(s6, JournalKind::Trip, k, {quint16(k), 5, 12, 60, 1000, 100, 0});
        setJournalEntry(s6, JournalKind::Tank, k, {quint16(k), 6, 12, 60, 1000, 100, 0});
    }
    const Record before = s6;
    clearJournal(s6, JournalKind::Trip);
    for (int k = 0; k < kJournalEntryCount; ++k) {
        EXPECT_TRUE(journalEntry(s6, JournalKind::Trip, k).empty());
        EXPECT_EQ(journalEntry(s6, JournalKind::Trip, k).metres, 1000u); // only the day is cleared
        EXPECT_FALSE(journalEntry(s6, JournalKind::Tank, k).empty());
    }
    // Exactly 21 bytes changed.
    int changed = 0;
    for (int i = 0; i < s6.size(); ++i)
        changed += s6.bytes()[i] != before.bytes()[i];
    EXPECT_EQ(changed, 21);
}

TEST(JournalGrids, AveragesRows)
{
    Record s0 = section(0);
    s0.setU32(12, 3 * 3600 + 5 * 60 + 59); // trip: 3:05
    s0.setU32(16, 150000);
    s0.setU32(20, 10000);
    s0.setU32(140, 2000);
    EXPECT_EQ(averagesGridRows(s0, AccumulatorSet::Trip),
              QList<QStringList>({row({"Время", "3:05"}), row({"Пробег, км", "150.000"}), row({"Расход, л", "12.000"}),
                                  row({"Ср.скорость, км/час", "48.4"}), row({"Ср.расход, л/100", "8.0"}),
                                  row({"Ср.расход, л/час", "3.9"})}));

    // An empty set: the per-time and per-distance averages read "-----".
    const auto empty = averagesGridRows(s0, AccumulatorSet::Jams);
    ASSERT_EQ(empty.size(), 6);
    EXPECT_EQ(empty[3][1], QStringLiteral("-----"));
    EXPECT_EQ(empty[4][1], QStringLiteral("-----"));
    EXPECT_EQ(empty[5][1], QStringLiteral("-----"));
}

TEST(JournalGrids, OverallSetAddsTheFittingKilometres)
{
    Record s0 = section(0);
    s0.setU32(0, 7200);
    s0.setU32(4, 100500);
    s0.setU32(kAllPathStartOffset, 120000);
    const auto rows = averagesGridRows(s0, AccumulatorSet::Overall);
    EXPECT_EQ(rows[1][1], QStringLiteral("120100.500"));
    EXPECT_EQ(rows[3][1], QStringLiteral("50.3")); // the speed uses the accumulated metres only
    // Only the overall set counts the kilometres.
    s0.setU32(12, 7200);
    s0.setU32(16, 100500);
    EXPECT_EQ(averagesGridRows(s0, AccumulatorSet::Trip)[1][1], QStringLiteral("100.500"));
}

TEST(JournalGrids, NegativeFittingKilometresStopTheOverallGrid)
{
    Record s0 = section(0);
    s0.setU32(0, 3600);
    s0.setU32(kAllPathStartOffset, 0x80000000u);
    EXPECT_THROW(allPathStartKm(s0), RangeError);
    const auto rows = averagesGridRows(s0, AccumulatorSet::Overall);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], row({"Время", "1:00"}));
    EXPECT_EQ(averagesGridRows(s0, AccumulatorSet::Trip).size(), 6); // other sets are unaffected
}

TEST(JournalGrids, ClearingAnAccumulatorSetTouchesOnlyItsFields)
{
    Record s0 = section(0);
    for (int off = 0; off < 164; off += 4)
        s0.setU32(off, 0x01010101u * quint32(off + 1));
    const Record before = s0;
    clearAccumulators(s0, AccumulatorSet::BetweenRefuellings);
    for (int off = 0; off < 164; off += 4) {
        const bool cleared = off == 60 || off == 64 || off == 68 || off == 156;
        EXPECT_EQ(s0.u32(off), cleared ? 0u : before.u32(off)) << off;
    }
    clearAccumulators(s0, AccumulatorSet::GasOnly); // one fuel field only
    EXPECT_EQ(s0.u32(120), 0u);
    EXPECT_EQ(s0.u32(128), 0u);
    EXPECT_EQ(s0.u32(132), before.u32(132));
    EXPECT_EQ(accumulators(s0, AccumulatorSet::GasOnly).fuel2, 0u);
}

TEST(JournalGrids, ErrorGridRows)
{
    Record s12 = section(12);
    s12.setU16(16, 545); // entry 0: 9:05 on 3 July
    s12.setU8(18, 3);
    s12.setU8(19, 7);
    s12.setU32(20, 0xC100);
    s12.setU16(16 + 92 * 2, 1439); // entry 2: time kept, but no code: empty
    const auto rows = errorGridRows(s12, 0, {});
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[0], row({"#", "Время", "Код ошибки"}));
    EXPECT_EQ(rows[1], row({"0", "9:05 3.07", "U0100"}));
    EXPECT_EQ(rows[3], row({"2", "", ""}));
    EXPECT_EQ(rows[7], row({"6", "", ""}));
    EXPECT_EQ(errorGridRows(s12, kNoCodeTextFormat, {})[1], row({"0", "9:05 3.07", ""}));
}

TEST(JournalGrids, ClearingTheErrorJournal)
{
    Record s12 = section(12);
    for (int i = 0; i < s12.size(); ++i)
        s12.setU8(i, quint8(i * 7 + 1));
    const Record before = s12;
    clearErrorJournal(s12);
    for (int p = 1; p <= 96; ++p)
        EXPECT_FALSE(valueSupported(s12, p));
    for (int i = 0; i < kErrorEntryCount; ++i) {
        const ErrorEntry e = errorEntry(s12, i);
        EXPECT_EQ(e.code, 0u);
        EXPECT_EQ(e.frameCode, 0u);
        EXPECT_EQ(e.minutes, errorEntry(before, i).minutes);
        EXPECT_EQ(e.values, errorEntry(before, i).values);
    }
    EXPECT_EQ(s12.raw(0, 4), before.raw(0, 4));
    EXPECT_EQ(s12.raw(660, 4), before.raw(660, 4));
}

TEST(JournalGrids, SupportedValuesBitmapNumbering)
{
    Record s12 = section(12);
    s12.setU8(4, 0x80);  // value 1
    s12.setU8(5, 0x01);  // value 16
    s12.setU8(15, 0x01); // value 96
    EXPECT_TRUE(valueSupported(s12, 1));
    EXPECT_FALSE(valueSupported(s12, 2));
    EXPECT_TRUE(valueSupported(s12, 16));
    EXPECT_FALSE(valueSupported(s12, 9));
    EXPECT_TRUE(valueSupported(s12, 96));
    EXPECT_FALSE(valueSupported(s12, 0));
    EXPECT_FALSE(valueSupported(s12, 97));
}

TEST(JournalGrids, FreezeFrameRows)
{
    Record s12 = section(12);
    const int entry = 16 + 92 * 1;
    s12.setU32(entry + 4, 0x0171);
    EXPECT_TRUE(freezeFrameRows(s12, 1).isEmpty()); // no freeze-frame code: nothing shown

    s12.setU32(entry + 8, 0x4301);
    const auto value = [&](int offset, qint16 v) { s12.setU16(entry + offset, quint16(v)); };
    value(12, 0x0210); // fuel systems: closed / closed (sensor)
    value(16, -40);    // coolant
    value(30, 87);     // speed
    value(32, 2450);   // revolutions: shown before the speed
    value(34, -55);    // ignition advance, tenths
    value(42, 3);      // secondary air: unknown state
    value(44, 45);     // oxygen sensor, hundredths
    value(90, 12);     // time since codes cleared
    value(22, 9);      // long-term trim B1: bit 7 not set below, so not shown
    for (int p : {3, 5, 12, 13, 14, 18, 20, 78})
        s12.setU8(4 + (p - 1) / 8, quint8(s12.u8(4 + (p - 1) / 8) | (0x80 >> ((p - 1) % 8))));
    EXPECT_EQ(freezeFrameRows(s12, 1),
              QList<QStringList>(
                  {row({"Код ошибки", "C0301"}), row({"Сост. топливной системы 1", "Замкнута"}),
                   row({"Сост. топливной системы 2", "Замкн.(Датчик)"}), row({"ТОЖ, С", "-40"}),
                   row({"Обороты/мин", "2450"}), row({"Скорость, км/час", "87"}),
                   row({"Угол опережения зажигания, ВМТ", "-5.5"}), row({"Состояние вторичного воздуха", "Неизвестно"}),
                   row({"Датчик кислорода 1, В", "0.45"}), row({"Время с момента сброса ошибок, мин", "12"})}));
}

TEST(JournalGrids, FreezeFrameTables)
{
    EXPECT_EQ(fuelSystemText(1), QStringLiteral("Разомкнута"));
    EXPECT_EQ(fuelSystemText(4), QStringLiteral("Разомк.(Раз/Тор)"));
    EXPECT_EQ(fuelSystemText(8), QStringLiteral("Разомк.(Ошибка)"));
    EXPECT_EQ(fuelSystemText(0), QStringLiteral("Неизвестно"));
    EXPECT_EQ(fuelSystemText(3), QStringLiteral("Неизвестно"));
    EXPECT_EQ(secondaryAirText(1), QStringLiteral("В катализатор"));
    EXPECT_EQ(secondaryAirText(2), QStringLiteral("Из катализатора"));
    EXPECT_EQ(secondaryAirText(4), QStringLiteral("Выключено"));
    // Every value p = 3..42 has its own slot, and the table uses each slot once.
    QSet<int> offsets;
    for (const FrameValueDef &d : frameValueDefs()) {
        EXPECT_GE(d.entryOffset, 12);
        EXPECT_LE(d.entryOffset, 90);
        offsets.insert(d.entryOffset);
    }
    EXPECT_EQ(offsets.size(), 40);
    EXPECT_EQ(frameValueDefs().size(), 40);
}

TEST(JournalGrids, ExportText)
{
    const QByteArray text = gridText({row({"#", "Пусто"}), row({"1", ""})});
    EXPECT_EQ(text, toWin1251(QStringLiteral("#\tПусто\t\r\n1\t\t\r\n")));
    EXPECT_EQ(text.size(), 15); // one byte per Cyrillic letter
    EXPECT_TRUE(gridText({}).isEmpty());
}
