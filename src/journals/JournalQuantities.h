// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quantities of the journals, described once: caption, unit, decimals, formula and what is
// written when there is nothing to compute. The journals window's grids, the CSV files, the
// charts and the trip history with its monthly totals all read them from here.

#include "journals/JournalData.h"

#include <QList>
#include <QString>
#include <optional>

namespace mk {

enum class JournalQuantity { TripTime, Distance, Fuel1, Fuel2, Fuel, AverageSpeed, PerHundredKm, PerHour, Cost };

// Where a quantity is written; each place has its decimals, its caption and its mark for "no
// value" ("---" in a journal grid, "-----" in an accumulator set's grid, an empty CSV cell).
enum class QuantityOutput { JournalGrid, AveragesGrid, JournalCsv, AveragesCsv };

// What a journal entry, an accumulator set or a month of trips counted.
struct JournalAmounts
{
    quint64 seconds = 0;
    quint64 metres = 0;
    quint64 extraKm = 0; // whole kilometres the distance adds (the overall set's start); no average uses them
    quint64 fuel1 = 0;   // millilitres
    quint64 fuel2 = 0;
    std::optional<double> cost; // none without prices
    quint64 fuel() const { return fuel1 + fuel2; }
};
JournalAmounts journalAmounts(const JournalEntry &entry, std::optional<double> cost = std::nullopt);
JournalAmounts journalAmounts(const Accumulators &set, quint64 extraKm = 0);

// Decimals that are not a count of digits after the point.
constexpr int kWholeToEven = -1;  // whole number, halves to the even neighbour (the device's rounding)
constexpr int kHoursMinutes = -2; // seconds shown as "h:mm"

struct JournalQuantityInfo
{
    JournalQuantity id;
    QString caption;         // a journal's column: the window, its CSV and the history
    QString averagesCaption; // an accumulator set's row; empty when the sets do not show it
    QString csvUnit;         // the unit CSV writes where the window shows another form ("с" for "h:mm")
    QString unit;            // of the value, for a chart's axis
    int journalDecimals;     // in a journal grid
    int averagesDecimals;    // in an accumulator set's grid
    int csvDecimals;         // in every CSV file and the history
    std::optional<double> (*value)(const JournalAmounts &); // none: nothing to divide by
};

const JournalQuantityInfo &journalQuantity(JournalQuantity quantity);
std::optional<double> quantityValue(JournalQuantity quantity, const JournalAmounts &amounts);
QString quantityCaption(JournalQuantity quantity, QuantityOutput output);
QString quantityText(JournalQuantity quantity, QuantityOutput output, const JournalAmounts &amounts);

// The columns of a journal grid, of a journal's CSV, and the rows of an accumulator set, in order.
const QList<JournalQuantity> &journalGridQuantities();
const QList<JournalQuantity> &journalCsvQuantities();
const QList<JournalQuantity> &averagesQuantities();

// The captions of the columns that are no quantity: the entry's number and its moment. A CSV
// file's number column is "№": a line that starts with '#' is a comment to many CSV readers
// (R's read.table, numpy's loadtxt, gnuplot), which would drop the header or take the first
// record for it.
QString entryNumberCaption(QuantityOutput output = QuantityOutput::JournalGrid);
QString journalMomentCaption();
QString errorMomentCaption();

// "h:mm" of a count of seconds.
QString hoursMinutes(quint64 seconds);

} // namespace mk
