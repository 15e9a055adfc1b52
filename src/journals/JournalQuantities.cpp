// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalQuantities.h"

#include "base/Text.h"

#include <cmath>

namespace mk {

namespace {

std::optional<double> perSecond(const JournalAmounts &a, double times)
{
    return a.seconds == 0 ? std::nullopt : std::optional<double>(times * 3.6 / double(a.seconds));
}

// clang-format off
const QList<JournalQuantityInfo> &table()
{
    static const QList<JournalQuantityInfo> rows = {
        {JournalQuantity::TripTime, QStringLiteral("Время в пути"), QStringLiteral("Время"), QStringLiteral("с"),
         QStringLiteral("с"), kHoursMinutes, kHoursMinutes, 0,
         [](const JournalAmounts &a) { return std::optional<double>(double(a.seconds)); }},
        {JournalQuantity::Distance, QStringLiteral("Пробег, км"), QStringLiteral("Пробег, км"), {},
         QStringLiteral("км"), 3, 3, 3,
         [](const JournalAmounts &a) { return std::optional<double>((double(a.metres) + 1000.0 * double(a.extraKm)) / 1000.0); }},
        {JournalQuantity::Fuel1, QStringLiteral("Топливо 1, л"), {}, {},
         QStringLiteral("л"), 3, 3, 3,
         [](const JournalAmounts &a) { return std::optional<double>(double(a.fuel1) / 1000.0); }},
        {JournalQuantity::Fuel2, QStringLiteral("Топливо 2, л"), {}, {},
         QStringLiteral("л"), 3, 3, 3,
         [](const JournalAmounts &a) { return std::optional<double>(double(a.fuel2) / 1000.0); }},
        {JournalQuantity::Fuel, QStringLiteral("Расход топлива, л"), QStringLiteral("Расход, л"), {},
         QStringLiteral("л"), 3, 3, 3,
         [](const JournalAmounts &a) { return std::optional<double>(double(a.fuel()) / 1000.0); }},
        {JournalQuantity::AverageSpeed, QStringLiteral("Ср. скорость, км/час"), QStringLiteral("Ср.скорость, км/час"), {},
         QStringLiteral("км/час"), kWholeToEven, 1, 1,
         [](const JournalAmounts &a) { return perSecond(a, double(a.metres)); }},
        {JournalQuantity::PerHundredKm, QStringLiteral("Ср. расход на 100 км"), QStringLiteral("Ср.расход, л/100"), {},
         QStringLiteral("л/100 км"), 1, 1, 2,
         [](const JournalAmounts &a) {
             return a.metres == 0 ? std::nullopt : std::optional<double>(double(a.fuel()) * 100.0 / double(a.metres));
         }},
        {JournalQuantity::PerHour, QStringLiteral("Ср. расход в час"), QStringLiteral("Ср.расход, л/час"), {},
         QStringLiteral("л/час"), 2, 1, 2,
         [](const JournalAmounts &a) { return perSecond(a, double(a.fuel())); }},
        {JournalQuantity::Cost, QStringLiteral("Стоимость"), {}, {},
         {}, 1, 1, 1,
         [](const JournalAmounts &a) { return a.cost; }},
    };
    return rows;
}
// clang-format on

QString numberText(double value, int decimals)
{
    switch (decimals) {
    case kWholeToEven: return QString::number(std::nearbyint(value), 'f', 0);
    case kHoursMinutes: {
        const quint64 seconds = quint64(value);
        return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigit(int(seconds / 60 % 60));
    }
    default: return QString::number(value, 'f', decimals);
    }
}

} // namespace

JournalAmounts journalAmounts(const JournalEntry &e, std::optional<double> cost)
{
    return {e.seconds, e.metres, 0, e.fuel1, e.fuel2, cost};
}

JournalAmounts journalAmounts(const Accumulators &a, quint64 extraKm)
{
    return {a.seconds, a.metres, extraKm, a.fuel1, a.fuel2, std::nullopt};
}

const JournalQuantityInfo &journalQuantity(JournalQuantity quantity)
{
    for (const JournalQuantityInfo &row : table())
        if (row.id == quantity)
            return row;
    return table().constFirst(); // every value has its row (JournalQuantities.EveryQuantityHasItsRow)
}

std::optional<double> quantityValue(JournalQuantity quantity, const JournalAmounts &amounts)
{
    return journalQuantity(quantity).value(amounts);
}

QString quantityCaption(JournalQuantity quantity, QuantityOutput output)
{
    const JournalQuantityInfo &q = journalQuantity(quantity);
    const bool csv = output == QuantityOutput::JournalCsv || output == QuantityOutput::AveragesCsv;
    const QString caption =
        output == QuantityOutput::AveragesGrid || output == QuantityOutput::AveragesCsv ? q.averagesCaption : q.caption;
    return csv && !q.csvUnit.isEmpty() ? caption + QStringLiteral(", ") + q.csvUnit : caption;
}

QString quantityText(JournalQuantity quantity, QuantityOutput output, const JournalAmounts &amounts)
{
    const JournalQuantityInfo &q = journalQuantity(quantity);
    const std::optional<double> value = q.value(amounts);
    switch (output) {
    case QuantityOutput::JournalGrid: return value ? numberText(*value, q.journalDecimals) : QStringLiteral("---");
    case QuantityOutput::AveragesGrid: return value ? numberText(*value, q.averagesDecimals) : QStringLiteral("-----");
    case QuantityOutput::JournalCsv:
    case QuantityOutput::AveragesCsv: break;
    }
    return value ? numberText(*value, q.csvDecimals) : QString();
}

const QList<JournalQuantity> &journalGridQuantities()
{
    using Q = JournalQuantity;
    static const QList<Q> list = {Q::TripTime,     Q::Distance, Q::Fuel, Q::AverageSpeed,
                                  Q::PerHundredKm, Q::PerHour,  Q::Cost};
    return list;
}

const QList<JournalQuantity> &journalCsvQuantities()
{
    using Q = JournalQuantity;
    static const QList<Q> list = {Q::TripTime,     Q::Distance,     Q::Fuel1,   Q::Fuel2, Q::Fuel,
                                  Q::AverageSpeed, Q::PerHundredKm, Q::PerHour, Q::Cost};
    return list;
}

const QList<JournalQuantity> &averagesQuantities()
{
    using Q = JournalQuantity;
    static const QList<Q> list = {Q::TripTime, Q::Distance, Q::Fuel, Q::AverageSpeed, Q::PerHundredKm, Q::PerHour};
    return list;
}

QString entryNumberCaption(QuantityOutput output)
{
    const bool csv = output == QuantityOutput::JournalCsv || output == QuantityOutput::AveragesCsv;
    return csv ? QStringLiteral("№") : QStringLiteral("#");
}
QString journalMomentCaption() { return QStringLiteral("Дата и время записи"); }
QString errorMomentCaption() { return QStringLiteral("Время"); }

QString hoursMinutes(quint64 seconds) { return numberText(double(seconds), kHoursMinutes); }

} // namespace mk
