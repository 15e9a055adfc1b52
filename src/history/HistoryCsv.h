// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The history as rows in the journals' CSV columns, each date with its year, and the monthly
// totals; mktool writes them as CSV or as a grid.

#include "history/HistoryDatabase.h"

#include <QList>
#include <QStringList>

namespace mk {

// "2025-12-06T17:45"; an entry whose year is uncertain keeps the journals' yearless "12-06 17:45".
QString historyMoment(const HistoryMoment &moment);
// As a window shows it: "06.12.2025 17:45", "06.12.???? 17:45" when the year is uncertain.
QString shownHistoryMoment(const HistoryMoment &moment);

// How the rows write dates, times and numbers: ISO dates, seconds and decimal points for CSV, or as a
// window shows them (dd.MM.yyyy, h:mm, the locale's decimal separator).
enum class HistoryDateStyle { Iso, Shown };

// Header, then the entries as given (latest first), "№" counting from 0, the source last.
QList<QStringList> historyJournalRows(const QList<HistoryJournalEntry> &entries,
                                      HistoryDateStyle dates = HistoryDateStyle::Iso);
QList<QStringList> historyErrorRows(const QList<HistoryErrorEntry> &entries,
                                    HistoryDateStyle dates = HistoryDateStyle::Iso);
// Header, then a row per month "2025-12".
QList<QStringList> monthlyTotalsRows(const QList<MonthTotals> &months, HistoryDateStyle style = HistoryDateStyle::Iso);

} // namespace mk
