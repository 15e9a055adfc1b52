#pragma once
// The history as rows in the journals' CSV columns, each date with its year, and the monthly
// totals; mktool writes them as CSV or as a grid.

#include "history/HistoryDatabase.h"

#include <QList>
#include <QStringList>

namespace mk {

// "2025-12-06T17:45"; an entry whose year is uncertain keeps the journals' yearless "--12-06T17:45".
QString historyMoment(const HistoryMoment &moment);

// Header, then the entries as given (latest first), "№" counting from 0, the source last.
QList<QStringList> historyJournalRows(const QList<HistoryJournalEntry> &entries);
QList<QStringList> historyErrorRows(const QList<HistoryErrorEntry> &entries);
// Header, then a row per month "2025-12".
QList<QStringList> monthlyTotalsRows(const QList<MonthTotals> &months);

} // namespace mk
