// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalPlots.h"

#include "base/Text.h"
#include "journals/JournalQuantities.h"

#include <cmath>

namespace mk {

namespace {

PlotSeries series(const Record &s6, JournalKind kind, JournalQuantity quantity)
{
    PlotSeries s;
    for (int k = kJournalEntryCount - 1; k >= 0; --k) {
        const JournalEntry e = journalEntry(s6, kind, k);
        if (e.empty())
            continue;
        PlotPoint p;
        p.entry = k;
        p.label = QString::number(e.day) + QLatin1Char('.') + twoDigit(e.month);
        const std::optional<double> value = quantityValue(quantity, journalAmounts(e));
        p.present = value.has_value();
        p.value = value.value_or(0);
        s.points.append(p);
    }
    s.unit = journalQuantity(quantity).unit;
    return s;
}

} // namespace

PlotSeries tripConsumptionSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Trip, JournalQuantity::PerHundredKm);
    s.title = QStringLiteral("Расход топлива по поездкам, ") + s.unit;
    s.category = QStringLiteral("Поездки");
    return s;
}

PlotSeries tripDistanceSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Trip, JournalQuantity::Distance);
    s.title = QStringLiteral("Пробег по поездкам, ") + s.unit;
    s.category = QStringLiteral("Поездки");
    return s;
}

PlotSeries refuellingSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Tank, JournalQuantity::Fuel);
    s.title = QStringLiteral("Заправлено топлива, ") + s.unit;
    s.category = QStringLiteral("Заправки");
    return s;
}

AxisTicks axisTicks(double maximum, int lines)
{
    AxisTicks t;
    if (!(maximum > 0) || !std::isfinite(maximum))
        return t;
    const double raw = maximum / qMax(1, lines);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) {
            step = m * power;
            break;
        }
    t.step = step;
    t.count = qMax(1, int(std::ceil(maximum / step - 1e-9)));
    t.decimals = qMax(0, -int(std::floor(std::log10(step) + 1e-9)));
    return t;
}

} // namespace mk
