// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/JournalPlots.h"

#include "support/JournalRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;
using namespace mk::test;

namespace {

constexpr quint32 kMax = 0xFFFFFFFF;

// Prices: petrol 250, time 0, distance 30, gas 120. Entry 0 an ordinary trip, entry 3 a trip
// that never moved, entry 20 (the oldest) every counter at its maximum; the rest empty.
Record craftedJournal(JournalKind kind)
{
    Record s6 = section(6);
    s6.setU16(0, 250);
    s6.setU16(2, 0);
    s6.setU16(4, 30);
    s6.setU16(6, 120);
    setJournalEntry(s6, kind, 0, {485, 7, 12, 3779, 41300, 3600, 450});
    setJournalEntry(s6, kind, 3, {0, 1, 1, 0, 0, 0, 0});
    setJournalEntry(s6, kind, 20, {1439, 31, 12, kMax, kMax, kMax, kMax});
    return s6;
}

} // namespace

TEST(JournalCsv, EveryJournalAgainstRowsComputedByHand)
{
    for (JournalKind kind : {JournalKind::Trip, JournalKind::Tank}) {
        const Record s6 = craftedJournal(kind);
        const auto rows = journalCsvRows(s6, kind);
        ASSERT_EQ(rows.size(), 4);
        EXPECT_EQ(rows[0], row({"№", "Дата и время записи", "Время в пути, с", "Пробег, км", "Топливо 1, л", "Топливо 2, л",
                                "Расход топлива, л", "Ср. скорость, км/час", "Ср. расход на 100 км", "Ср. расход в час",
                                "Стоимость"}));
        // 41.3 km in 3779 s: 39.34 km/h; 4.05 l: 9.806 l/100 km, 3.858 l/h; (1239 + 900 + 54) / 10.
        EXPECT_EQ(rows[1], row({"0", "12-07 08:05", "3779", "41.300", "3.600", "0.450", "4.050", "39.3", "9.81",
                                "3.86", "219.3"}));
        // Nothing to divide by: empty cells, not the viewer's dashes; the cost is still there.
        EXPECT_EQ(rows[2], row({"3", "01-01 00:00", "0", "0.000", "0.000", "0.000", "0.000", "", "", "", "0.0"}));
        // No overflow at the counters' maximum: the fuel sum needs 33 bits.
        EXPECT_EQ(rows[3], row({"20", "12-31 23:59", "4294967295", "4294967.295", "4294967.295", "4294967.295",
                                "8589934.590", "3.6", "200.00", "7.20", "171798691.8"}));
        // The other journal is untouched.
        EXPECT_EQ(journalCsvRows(s6, kind == JournalKind::Trip ? JournalKind::Tank : JournalKind::Trip).size(), 1);
    }
}

TEST(JournalCsv, TextIsUtf8WithQuotedCellsWhereNeeded)
{
    EXPECT_EQ(csvLine(row({"a", "b,c", "say \"hi\"", "", "x\ny"})),
              QStringLiteral("a,\"b,c\",\"say \"\"hi\"\"\",,\"x\ny\""));
    const QByteArray text = csvText({row({"Пробег, км", "1.5"}), row({"x"})});
    EXPECT_EQ(text, QByteArray("\"Пробег, км\",1.5\nx\n"));
}

// The Russian spreadsheet's dialect: decimals and moments by the plain cells' shape, nothing else.
TEST(JournalCsv, ExcelRuDialectRewritesNumbersAndMoments)
{
    const struct
    {
        const char *plain, *excel;
    } cases[] = {
        {"41.300", "41,300"},
        {"-0.5", "-0,5"},
        {"3779", "3779"},
        {"P0133", "P0133"},
        {"0133", "0133"},
        {"1.2.3", "1.2.3"},
        {"2026-12-07T08:05", "07.12.2026 08:05"},
        {"2026-12-07T08:05:09.120Z", "07.12.2026 08:05"},
        {"12-07 08:05", "07.12.???? 08:05"},   // no year to give: text, never this year's date
        {"--12-07T08:05", "07.12.???? 08:05"}, // the same in ISO 8601's yearless form
        {"12-07 8:05", "12-07 8:05"},
        {"2-07 08:05", "2-07 08:05"},
        {"2026-12", "2026-12"},
        {"a;b", "\"a;b\""},
        {"Пробег, км", "Пробег, км"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(csvText({row({c.plain})}, CsvDialect::ExcelRu),
                  QByteArray("\xEF\xBB\xBF") + QByteArray(c.excel) + "\r\n")
            << c.plain;
    EXPECT_EQ(csvText({row({"1.5", "x"}), row({"y"})}, CsvDialect::ExcelRu), QByteArray("\xEF\xBB\xBF" "1,5;x\r\ny\r\n"));
    EXPECT_EQ(csvText({row({"1.5", "x"})}), QByteArray("1.5,x\n")) << "the plain dialect stays as it was";
}

TEST(JournalCsv, AveragesOneLinePerSet)
{
    Record s0 = section(0);
    for (AccumulatorSet set : kAccumulatorSets)
        clearAccumulators(s0, set);
    s0.setU32(kAllPathStartOffset, 100);
    s0.setU32(0, 7200);  // overall: 2 h
    s0.setU32(4, 90000); // 90 km + 100 km
    s0.setU32(8, 8000);
    s0.setU32(136, 1000); // 9 l
    const auto rows = averagesCsvRows(s0);
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0][0], QStringLiteral("Накопитель"));
    EXPECT_EQ(rows[1], row({"Накопительные / Общие", "7200", "190.000", "9.000", "45.0", "10.00", "4.50"}));
    EXPECT_EQ(rows[8], row({"Только газ", "0", "0.000", "0.000", "", "", ""}));
    // Out-of-range kilometres leave the distance and what needs it empty, as the viewer stops there.
    s0.setU32(kAllPathStartOffset, 0x80000000);
    EXPECT_EQ(averagesCsvRows(s0)[1], row({"Накопительные / Общие", "7200", "", "9.000", "45.0", "", "4.50"}));
}

TEST(JournalPlots, SeriesFromCraftedJournals)
{
    // Empty journals: nothing to draw, for every chart.
    const Record empty = [] {
        Record s6 = section(6);
        clearJournal(s6, JournalKind::Trip);
        clearJournal(s6, JournalKind::Tank);
        return s6;
    }();
    EXPECT_TRUE(tripConsumptionSeries(empty).empty());
    EXPECT_TRUE(tripDistanceSeries(empty).empty());
    EXPECT_TRUE(refuellingSeries(empty).empty());

    // One trip.
    Record one = empty;
    setJournalEntry(one, JournalKind::Trip, 0, {485, 7, 12, 3779, 41300, 3600, 450});
    ASSERT_EQ(tripConsumptionSeries(one).points.size(), 1);
    EXPECT_NEAR(tripConsumptionSeries(one).points[0].value, 9.80630, 1e-5);
    EXPECT_EQ(tripDistanceSeries(one).points[0].label, QStringLiteral("7.12"));
    EXPECT_DOUBLE_EQ(tripDistanceSeries(one).points[0].value, 41.3);
    EXPECT_TRUE(refuellingSeries(one).empty());

    // Oldest first; a trip that never moved keeps its place with no consumption bar; maxima.
    for (JournalKind kind : {JournalKind::Trip, JournalKind::Tank}) {
        const Record s6 = craftedJournal(kind);
        const PlotSeries series = kind == JournalKind::Trip ? tripConsumptionSeries(s6) : refuellingSeries(s6);
        ASSERT_EQ(series.points.size(), 3);
        EXPECT_EQ(series.points[0].entry, 20);
        EXPECT_EQ(series.points[1].entry, 3);
        EXPECT_EQ(series.points[2].entry, 0);
        EXPECT_EQ(series.points[0].label, QStringLiteral("31.12"));
        if (kind == JournalKind::Trip) {
            EXPECT_DOUBLE_EQ(series.points[0].value, 200.0);
            EXPECT_FALSE(series.points[1].present);
            const PlotSeries distance = tripDistanceSeries(s6);
            EXPECT_TRUE(distance.points[1].present);
            EXPECT_DOUBLE_EQ(distance.points[1].value, 0.0);
            EXPECT_DOUBLE_EQ(distance.points[0].value, 4294967.295);
        } else {
            EXPECT_DOUBLE_EQ(series.points[0].value, 8589934.59);
            EXPECT_DOUBLE_EQ(series.points[2].value, 4.05);
            EXPECT_TRUE(tripDistanceSeries(s6).empty());
        }
    }
}

TEST(JournalPlots, AxisTicksCoverTheLargestValue)
{
    struct Case
    {
        double maximum;
        double step;
        int count;
        int decimals;
    };
    for (const Case &c : {Case{0, 1, 1, 0}, Case{0.3, 0.1, 3, 1}, Case{9.8, 2, 5, 0}, Case{10, 2, 5, 0},
                          Case{200, 50, 4, 0}, Case{4294967.295, 1e6, 5, 0}, Case{8589934.59, 2e6, 5, 0}}) {
        const AxisTicks t = axisTicks(c.maximum);
        EXPECT_DOUBLE_EQ(t.step, c.step) << c.maximum;
        EXPECT_EQ(t.count, c.count) << c.maximum;
        EXPECT_EQ(t.decimals, c.decimals) << c.maximum;
        EXPECT_GE(t.step * t.count, c.maximum);
    }
}
