// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the journals' charts show: one bar per recorded trip or refuelling, oldest first.

#include "journals/JournalData.h"

#include <QList>
#include <QString>

namespace mk {

struct PlotPoint
{
    int entry = 0;        // journal entry number, 0 the latest
    QString label;        // "d.mm" of the entry
    bool present = false; // false: nothing to show for this entry (a trip without distance)
    double value = 0;
    QString heading; // the tool tip's start; "№N от label" when empty
};

struct PlotSeries
{
    QString title;    // above the chart, with the unit
    QString unit;     // of the value axis
    QString category; // what one bar is
    QString axis;     // under the bars; the category and "(дата)" when empty
    QList<PlotPoint> points;
    bool empty() const { return points.isEmpty(); }
};

// Litres per 100 km of each trip; a trip of no distance keeps its place, with no bar.
PlotSeries tripConsumptionSeries(const Record &s6);
// Kilometres of each trip.
PlotSeries tripDistanceSeries(const Record &s6);
// Litres of each refuelling (both fuels).
PlotSeries refuellingSeries(const Record &s6);

// Grid lines of a value axis from 0: a step of 1, 2 or 5 times a power of ten, at most about
// `lines` of them, the last at or above `maximum`.
struct AxisTicks
{
    double step = 1;
    int count = 1;    // lines above 0
    int decimals = 0; // for the labels
};
AxisTicks axisTicks(double maximum, int lines = 5);

} // namespace mk
