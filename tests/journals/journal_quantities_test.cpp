// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "journals/JournalQuantities.h"

#include "support/JournalRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;
using namespace mk::test;

namespace {

using Q = JournalQuantity;
using Out = QuantityOutput;
constexpr Q kEveryQuantity[] = {Q::TripTime,     Q::Distance,     Q::Fuel1,   Q::Fuel2, Q::Fuel,
                                Q::AverageSpeed, Q::PerHundredKm, Q::PerHour, Q::Cost};

} // namespace

TEST(JournalQuantities, EveryQuantityHasItsRow)
{
    for (Q q : kEveryQuantity) {
        EXPECT_EQ(journalQuantity(q).id, q) << int(q);
        EXPECT_FALSE(journalQuantity(q).caption.isEmpty()) << int(q);
    }
    for (Q q : averagesQuantities())
        EXPECT_FALSE(journalQuantity(q).averagesCaption.isEmpty()) << int(q);
    for (Q q : journalGridQuantities())
        EXPECT_TRUE(journalCsvQuantities().contains(q)) << "a column the window shows and its CSV lacks: " << int(q);
}

// Each quantity in each output, for a trip and for one with nothing to divide by.
TEST(JournalQuantities, TextsInEveryOutput)
{
    // 41.3 km in 3779 s with 3.6 + 0.45 l; the overall set's start of 100 km counts in the distance only.
    JournalAmounts trip{3779, 41300, 0, 3600, 450, 219.3};
    JournalAmounts overall = trip;
    overall.extraKm = 100;
    const JournalAmounts still{0, 0, 0, 0, 0, std::nullopt};
    const struct
    {
        Q quantity;
        const JournalAmounts &amounts;
        const char *journal, *averages, *csv;
    } cases[] = {
        {Q::TripTime, trip, "1:02", "1:02", "3779"},
        {Q::Distance, trip, "41.300", "41.300", "41.300"},
        {Q::Distance, overall, "141.300", "141.300", "141.300"},
        {Q::Fuel1, trip, "3.600", "3.600", "3.600"},
        {Q::Fuel2, trip, "0.450", "0.450", "0.450"},
        {Q::Fuel, trip, "4.050", "4.050", "4.050"},
        {Q::AverageSpeed, trip, "39", "39.3", "39.3"},
        {Q::AverageSpeed, overall, "39", "39.3", "39.3"},
        {Q::PerHundredKm, trip, "9.8", "9.8", "9.81"},
        {Q::PerHundredKm, overall, "9.8", "9.8", "9.81"},
        {Q::PerHour, trip, "3.86", "3.9", "3.86"},
        {Q::Cost, trip, "219.3", "219.3", "219.3"},
        {Q::TripTime, still, "0:00", "0:00", "0"},
        {Q::AverageSpeed, still, "---", "-----", ""},
        {Q::PerHundredKm, still, "---", "-----", ""},
        {Q::PerHour, still, "---", "-----", ""},
        {Q::Cost, still, "---", "-----", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(quantityText(c.quantity, Out::JournalGrid, c.amounts), QString::fromUtf8(c.journal))
            << int(c.quantity);
        EXPECT_EQ(quantityText(c.quantity, Out::AveragesGrid, c.amounts), QString::fromUtf8(c.averages))
            << int(c.quantity);
        EXPECT_EQ(quantityText(c.quantity, Out::JournalCsv, c.amounts), QString::fromUtf8(c.csv)) << int(c.quantity);
        EXPECT_EQ(quantityText(c.quantity, Out::AveragesCsv, c.amounts), QString::fromUtf8(c.csv)) << int(c.quantity);
    }
    // The device's whole-number rounding: halves go to the even neighbour.
    EXPECT_EQ(quantityText(Q::AverageSpeed, Out::JournalGrid, {8, 10, 0, 0, 0, {}}), QStringLiteral("4"));  // 4.5
    EXPECT_EQ(quantityText(Q::AverageSpeed, Out::JournalGrid, {8, 30, 0, 0, 0, {}}), QStringLiteral("14")); // 13.5
}

// One wording: the window's grid and the CSV name a shared column alike (the CSV adds the unit
// it writes where the window shows another form), and the averages' CSV names its rows as the
// averages' grid does.
TEST(JournalQuantities, GridAndCsvHeadersAgree)
{
    const Record s6 = section(6);
    const QStringList grid = journalGridRows(s6, JournalKind::Trip).constFirst();
    const QStringList csv = journalCsvHeader();
    ASSERT_EQ(grid.size(), kJournalColumnCount);
    EXPECT_EQ(grid[0], QStringLiteral("#"));
    EXPECT_EQ(csv[0], QStringLiteral("№")) << "a CSV line starting with '#' is a comment to many readers";
    EXPECT_EQ(grid[1], csv[1]);
    for (qsizetype i = 2; i < grid.size(); ++i) {
        const qsizetype at = csv.indexOf(grid[i]);
        const qsizetype withUnit = csv.indexOf(grid[i] + QStringLiteral(", с"));
        EXPECT_TRUE(at >= 0 || withUnit >= 0) << qPrintable(grid[i]);
    }
    const Record s0 = section(0);
    const QStringList averagesCsv = averagesCsvRows(s0).constFirst();
    const QList<QStringList> averagesGrid = averagesGridRows(s0, AccumulatorSet::Trip);
    ASSERT_EQ(averagesCsv.size(), averagesGrid.size() + 1);
    for (qsizetype i = 0; i < averagesGrid.size(); ++i)
        EXPECT_TRUE(averagesCsv[i + 1].startsWith(averagesGrid[i][0])) << qPrintable(averagesCsv[i + 1]);
    EXPECT_EQ(errorGridRows(section(12), 0, {}).constFirst().mid(1, 1), errorCsvHeader().mid(1, 1));
}
