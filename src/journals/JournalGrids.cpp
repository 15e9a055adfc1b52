// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalGrids.h"

#include "base/Error.h"
#include "base/Text.h"
#include "journals/ErrorCodeText.h"
#include "journals/JournalQuantities.h"

#include <QLocale>

namespace mk {

namespace {

QStringList journalRow(int index, const JournalEntry &e, const Prices &p)
{
    QStringList row{index == 0 ? QStringLiteral("Посл.") : QString::number(index)};
    if (e.empty()) {
        row << QStringLiteral("Пусто");
        row.resize(kJournalColumnCount);
        return row;
    }
    row << minutesToText(e.minutes) + QStringLiteral("   ") + QString::number(e.day) + QLatin1Char('.') +
               twoDigit(e.month);
    const JournalAmounts amounts = journalAmounts(e, journalCost(e, p));
    for (JournalQuantity q : journalGridQuantities())
        row << quantityText(q, QuantityOutput::JournalGrid, amounts);
    return row;
}

} // namespace

QList<QStringList> journalGridRows(const Record &s6, JournalKind kind)
{
    QList<QStringList> rows;
    QStringList header{entryNumberCaption(), journalMomentCaption()};
    for (JournalQuantity q : journalGridQuantities())
        header << quantityCaption(q, QuantityOutput::JournalGrid);
    rows.append(header);
    const Prices p = prices(s6);
    for (int k = 0; k < kJournalEntryCount; ++k)
        rows.append(journalRow(k, journalEntry(s6, kind, k), p));
    return rows;
}

QList<QStringList> averagesGridRows(const Record &s0, AccumulatorSet set)
{
    QList<QStringList> rows;
    const Accumulators a = accumulators(s0, set);
    JournalAmounts amounts = journalAmounts(a);
    for (JournalQuantity q : averagesQuantities()) {
        if (q == JournalQuantity::Distance) {
            try {
                amounts.extraKm = set == AccumulatorSet::Overall ? allPathStartKm(s0) : 0;
            } catch (const RangeError &) {
                return rows; // the grid stays as far as it was filled
            }
        }
        rows.append(
            {quantityCaption(q, QuantityOutput::AveragesGrid), quantityText(q, QuantityOutput::AveragesGrid, amounts)});
    }
    return rows;
}

QString errorTimeText(const ErrorEntry &e)
{
    return QString::number(e.minutes / 60) + QLatin1Char(':') + twoDigit(e.minutes % 60) + QLatin1Char(' ') +
           QString::number(e.day) + QLatin1Char('.') + twoDigit(e.month);
}

QList<QStringList> errorGridRows(const Record &s12, int codeFormat, const ErrorCodeFlags &flags)
{
    QList<QStringList> rows;
    rows.append({entryNumberCaption(), errorMomentCaption(), QStringLiteral("Код ошибки")});
    for (int i = 0; i < kErrorEntryCount; ++i) {
        const ErrorEntry e = errorEntry(s12, i);
        if (e.empty())
            rows.append({QString::number(i), QString(), QString()});
        else
            rows.append({QString::number(i), errorTimeText(e), formatErrorCode(e.code, codeFormat, flags)});
    }
    return rows;
}

namespace {

// A decimal number written with `from` as its separator ("-41.300"), nothing else.
bool decimalWith(const QString &cell, QChar from)
{
    const qsizetype at = cell.indexOf(from);
    if (at <= 0 || at + 1 >= cell.size() || cell.indexOf(from, at + 1) >= 0)
        return false;
    for (qsizetype i = 0; i < cell.size(); ++i)
        if (i != at && !cell[i].isDigit() && !(i == 0 && cell[i] == QLatin1Char('-')))
            return false;
    return true;
}

QList<QStringList> swapSeparator(QList<QStringList> rows, QChar from, QChar to)
{
    if (from == to)
        return rows;
    for (QStringList &row : rows)
        for (QString &cell : row)
            if (decimalWith(cell, from))
                cell.replace(from, to);
    return rows;
}

QChar localePoint()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point[0] : QLatin1Char('.');
}

} // namespace

QList<QStringList> shownRows(const QList<QStringList> &rows)
{
    return swapSeparator(rows, QLatin1Char('.'), localePoint());
}

QList<QStringList> pointRows(const QList<QStringList> &rows)
{
    return swapSeparator(rows, localePoint(), QLatin1Char('.'));
}

QByteArray gridText(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (const QString &cell : row)
            text += cell + QLatin1Char('\t');
        text += QStringLiteral("\r\n");
    }
    return toWin1251(text);
}

QByteArray gridTextUtf8(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (const QString &cell : row)
            text += cell + QLatin1Char('\t');
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace mk
