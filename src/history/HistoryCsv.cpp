// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryCsv.h"

#include "base/Text.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "journals/JournalQuantities.h"

namespace mk {

namespace {

QString sourceCaption() { return QStringLiteral("Источник"); }

} // namespace

QString historyMoment(const HistoryMoment &m)
{
    if (m.yearUncertain)
        return yearlessMoment(m.month, m.day, m.minutes);
    return QString::number(m.year).rightJustified(4, QLatin1Char('0')) + QLatin1Char('-') + twoDigit(m.month) +
           QLatin1Char('-') + twoDigit(m.day) + QLatin1Char('T') + minutesToText(m.minutes);
}

QString shownHistoryMoment(const HistoryMoment &m)
{
    const QString year =
        m.yearUncertain ? QStringLiteral("????") : QString::number(m.year).rightJustified(4, QLatin1Char('0'));
    return twoDigit(m.day) + QLatin1Char('.') + twoDigit(m.month) + QLatin1Char('.') + year + QLatin1Char(' ') +
           minutesToText(m.minutes);
}

namespace {

QString momentIn(HistoryDateStyle dates, const HistoryMoment &m)
{
    return dates == HistoryDateStyle::Iso ? historyMoment(m) : shownHistoryMoment(m);
}

// A row as a window shows it: the trip time (cell `seconds`, when given) as h:mm, as the journals
// viewer shows it, and decimals with the locale's separator; CSV keeps seconds and points.
QStringList shownCells(QStringList cells, HistoryDateStyle dates, int seconds = -1)
{
    if (dates == HistoryDateStyle::Iso)
        return cells;
    bool whole = false;
    if (const qint64 n = cells.value(seconds).toLongLong(&whole); seconds >= 0 && whole && n >= 0)
        cells[seconds] = hoursMinutes(quint64(n));
    return shownRows({cells}).constFirst();
}

} // namespace

QList<QStringList> historyJournalRows(const QList<HistoryJournalEntry> &entries, HistoryDateStyle dates)
{
    QList<QStringList> rows{journalCsvHeader() << sourceCaption()};
    if (dates == HistoryDateStyle::Shown) { // as the journals window heads them
        rows[0][0] = entryNumberCaption(QuantityOutput::JournalGrid);
        rows[0][2] = quantityCaption(JournalQuantity::TripTime, QuantityOutput::JournalGrid);
    }
    for (int i = 0; i < entries.size(); ++i) {
        const HistoryJournalEntry &e = entries[i];
        rows.append(shownCells(QStringList{QString::number(i), momentIn(dates, e.moment)} +
                                   journalCsvMeasures(e.entry) +
                                   QStringList{quantityText(JournalQuantity::Cost, QuantityOutput::JournalCsv,
                                                            journalAmounts(e.entry, e.cost))},
                               dates, 2)
                    << e.source);
    }
    return rows;
}

QList<QStringList> historyErrorRows(const QList<HistoryErrorEntry> &entries, HistoryDateStyle dates)
{
    QList<QStringList> rows{errorCsvHeader() << sourceCaption()};
    if (dates == HistoryDateStyle::Shown)
        rows[0][0] = entryNumberCaption(QuantityOutput::JournalGrid);
    for (int i = 0; i < entries.size(); ++i) {
        const HistoryErrorEntry &e = entries[i];
        rows.append(
            {QString::number(i), momentIn(dates, e.moment), e.codeText, QString::number(e.entry.code), e.source});
    }
    return rows;
}

QList<QStringList> monthlyTotalsRows(const QList<MonthTotals> &months, HistoryDateStyle style)
{
    using Q = JournalQuantity;
    const QList<Q> columns = {Q::Distance, Q::Fuel, Q::PerHundredKm, Q::Cost};
    QStringList header{QStringLiteral("Месяц"), QStringLiteral("Поездок")};
    for (Q q : columns)
        header << quantityCaption(q, QuantityOutput::JournalCsv);
    QList<QStringList> rows{header};
    for (const MonthTotals &m : months) {
        QStringList cells{QString::number(m.year) + QLatin1Char('-') + twoDigit(m.month), QString::number(m.trips)};
        for (Q q : columns)
            cells << quantityText(q, QuantityOutput::JournalCsv, m.amounts());
        rows.append(shownCells(cells, style));
    }
    return rows;
}

} // namespace mk
