// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryPlots.h"

#include "journals/JournalQuantities.h"

#include <QLocale>
#include <functional>

namespace mk {

namespace {

PlotSeries monthly(const QList<MonthTotals> &months, const QString &title, const QString &unit,
                   const std::function<std::optional<double>(const MonthTotals &)> &value)
{
    PlotSeries series;
    series.title = title;
    series.unit = unit;
    series.category = QStringLiteral("Месяц");
    series.axis = QStringLiteral("Месяц (месяц.год)");
    const QLocale russian(QLocale::Russian);
    for (int i = 0; i < months.size(); ++i) {
        const MonthTotals &m = months[i];
        PlotPoint pt;
        pt.entry = i;
        pt.label =
            QStringLiteral("%1.%2").arg(m.month, 2, 10, QLatin1Char('0')).arg(m.year % 100, 2, 10, QLatin1Char('0'));
        QString name = russian.standaloneMonthName(m.month);
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        pt.heading = name + QLatin1Char(' ') + QString::number(m.year);
        if (const std::optional<double> v = value(m)) {
            pt.present = true;
            pt.value = *v;
        }
        series.points << pt;
    }
    return series;
}

} // namespace

PlotSeries monthlyDistanceSeries(const QList<MonthTotals> &months)
{
    const QString unit = journalQuantity(JournalQuantity::Distance).unit;
    return monthly(months, QStringLiteral("Пробег за месяц, ") + unit, unit,
                   [](const MonthTotals &m) { return quantityValue(JournalQuantity::Distance, m.amounts()); });
}

PlotSeries monthlyConsumptionSeries(const QList<MonthTotals> &months)
{
    const QString unit = journalQuantity(JournalQuantity::PerHundredKm).unit;
    return monthly(months, QStringLiteral("Средний расход за месяц, ") + unit, unit,
                   [](const MonthTotals &m) { return quantityValue(JournalQuantity::PerHundredKm, m.amounts()); });
}

PlotSeries monthlyCostSeries(const QList<MonthTotals> &months)
{
    return monthly(months, QStringLiteral("Стоимость поездок за месяц"), journalQuantity(JournalQuantity::Cost).unit,
                   [](const MonthTotals &m) { return m.cost; });
}

} // namespace mk
