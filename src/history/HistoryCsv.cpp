#include "history/HistoryCsv.h"

#include "base/Text.h"
#include "journals/JournalCsv.h"

namespace mk {

namespace {

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString sourceCaption() { return QStringLiteral("Источник"); }

} // namespace

QString historyMoment(const HistoryMoment &m)
{
    const QString yearless = isoMoment(m.month, m.day, m.minutes);
    return m.yearUncertain ? yearless : QString::number(m.year).rightJustified(4, QLatin1Char('0')) + yearless.mid(1);
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

} // namespace

QList<QStringList> historyJournalRows(const QList<HistoryJournalEntry> &entries, HistoryDateStyle dates)
{
    QList<QStringList> rows{journalCsvHeader() << sourceCaption()};
    for (int i = 0; i < entries.size(); ++i) {
        const HistoryJournalEntry &e = entries[i];
        rows.append(QStringList{QString::number(i), momentIn(dates, e.moment)} + journalCsvMeasures(e.entry) +
                    QStringList{e.cost ? number(*e.cost, 1) : QString(), e.source});
    }
    return rows;
}

QList<QStringList> historyErrorRows(const QList<HistoryErrorEntry> &entries, HistoryDateStyle dates)
{
    QList<QStringList> rows{errorCsvHeader() << sourceCaption()};
    for (int i = 0; i < entries.size(); ++i) {
        const HistoryErrorEntry &e = entries[i];
        rows.append(
            {QString::number(i), momentIn(dates, e.moment), e.codeText, QString::number(e.entry.code), e.source});
    }
    return rows;
}

QList<QStringList> monthlyTotalsRows(const QList<MonthTotals> &months)
{
    QList<QStringList> rows{{QStringLiteral("Месяц"), QStringLiteral("Поездок"), QStringLiteral("Пробег, км"),
                             QStringLiteral("Расход топлива, л"), QStringLiteral("Ср. расход на 100 км"),
                             QStringLiteral("Стоимость")}};
    for (const MonthTotals &m : months)
        rows.append({QString::number(m.year) + QLatin1Char('-') + twoDigit(m.month), QString::number(m.trips),
                     number(m.km, 3), number(m.litres, 3), m.litresPer100km ? number(*m.litresPer100km, 2) : QString(),
                     m.cost ? number(*m.cost, 1) : QString()});
    return rows;
}

} // namespace mk
