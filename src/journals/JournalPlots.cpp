// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalPlots.h"

#include "base/Text.h"

#include <cmath>

namespace mk {

namespace {

template<typename F>
PlotSeries series(const Record &s6, JournalKind kind, F valueOf)
{
    PlotSeries s;
    for (int k = kJournalEntryCount - 1; k >= 0; --k) {
        const JournalEntry e = journalEntry(s6, kind, k);
        if (e.empty())
            continue;
        PlotPoint p;
        p.entry = k;
        p.label = QString::number(e.day) + QLatin1Char('.') + twoDigit(e.month);
        p.present = valueOf(e, &p.value);
        s.points.append(p);
    }
    return s;
}

} // namespace

PlotSeries tripConsumptionSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Trip, [](const JournalEntry &e, double *v) {
        if (e.metres == 0)
            return false;
        *v = double(e.fuel()) * 100.0 / e.metres;
        return true;
    });
    s.title = QStringLiteral("Расход топлива по поездкам, л/100 км");
    s.unit = QStringLiteral("л/100 км");
    s.category = QStringLiteral("Поездки");
    return s;
}

PlotSeries tripDistanceSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Trip, [](const JournalEntry &e, double *v) {
        *v = e.metres / 1000.0;
        return true;
    });
    s.title = QStringLiteral("Пробег по поездкам, км");
    s.unit = QStringLiteral("км");
    s.category = QStringLiteral("Поездки");
    return s;
}

PlotSeries refuellingSeries(const Record &s6)
{
    PlotSeries s = series(s6, JournalKind::Tank, [](const JournalEntry &e, double *v) {
        *v = double(e.fuel()) / 1000.0;
        return true;
    });
    s.title = QStringLiteral("Заправлено топлива, л");
    s.unit = QStringLiteral("л");
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
