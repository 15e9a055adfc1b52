// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The monthly charts of the history: one bar per month, oldest first, drawn like the journals'.

#include "history/HistoryDatabase.h"
#include "journals/JournalPlots.h"

namespace mk {

// Kilometres driven each month.
PlotSeries monthlyDistanceSeries(const QList<MonthTotals> &months);
// Litres per 100 km each month; a month without distance keeps its place, with no bar.
PlotSeries monthlyConsumptionSeries(const QList<MonthTotals> &months);
// What the month's trips cost; a month without prices keeps its place, with no bar.
PlotSeries monthlyCostSeries(const QList<MonthTotals> &months);

} // namespace mk
