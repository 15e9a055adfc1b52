// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalGrids.h"

#include "base/Error.h"
#include "base/Text.h"
#include "journals/ErrorCodeText.h"

#include <QLocale>
#include <cmath>

namespace mk {

namespace {

const QString kNoAverage = QStringLiteral("---");
const QString kNoAccumulatedAverage = QStringLiteral("-----");

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// Whole-number rounding of the device's tools: halves go to the even neighbour.
QString roundedWhole(double value) { return QString::number(std::nearbyint(value), 'f', 0); }

QStringList journalRow(int index, const JournalEntry &e, const Prices &p)
{
    QStringList row(kJournalColumnCount);
    row[0] = index == 0 ? QStringLiteral("Посл.") : QString::number(index);
    if (e.empty()) {
        row[1] = QStringLiteral("Пусто");
        return row;
    }
    const quint32 tripMinutes = e.seconds / 60;
    const double fuel = double(e.fuel());
    row[1] = minutesToText(e.minutes) + QStringLiteral("   ") + QString::number(e.day) + QLatin1Char('.') +
             twoDigit(e.month);
    row[2] = QString::number(tripMinutes / 60) + QLatin1Char(':') + twoDigit(int(tripMinutes % 60));
    row[3] = fixed(e.metres / 1000.0, 3);
    row[4] = fixed(fuel / 1000.0, 3);
    row[5] = e.seconds == 0 ? kNoAverage : roundedWhole(e.metres * 3.6 / e.seconds);
    row[6] = e.metres == 0 ? kNoAverage : fixed(fuel * 100.0 / e.metres, 1);
    row[7] = e.seconds == 0 ? kNoAverage : fixed(fuel * 3.6 / e.seconds, 2);
    row[8] = fixed(journalCost(e, p), 1);
    return row;
}

} // namespace

QList<QStringList> journalGridRows(const Record &s6, JournalKind kind)
{
    QList<QStringList> rows;
    rows.append({QStringLiteral("#"), QStringLiteral("Дата и время записи"), QStringLiteral("Время в пути"),
                 QStringLiteral("Пробег, км"), QStringLiteral("Расход топлива, л"),
                 QStringLiteral("Ср. скорость, км/час"), QStringLiteral("Ср. расход на 100 км"),
                 QStringLiteral("Ср. расход в час"), QStringLiteral("Стоимость")});
    const Prices p = prices(s6);
    for (int k = 0; k < kJournalEntryCount; ++k)
        rows.append(journalRow(k, journalEntry(s6, kind, k), p));
    return rows;
}

QList<QStringList> averagesGridRows(const Record &s0, AccumulatorSet set)
{
    QList<QStringList> rows;
    const Accumulators a = accumulators(s0, set);
    const double fuel = double(a.fuel());
    rows.append({QStringLiteral("Время"),
                 QString::number(a.seconds / 3600) + QLatin1Char(':') + twoDigit(int(a.seconds / 60 % 60))});
    try {
        const quint64 km = set == AccumulatorSet::Overall ? allPathStartKm(s0) : 0;
        rows.append({QStringLiteral("Пробег, км"), fixed((a.metres + 1000.0 * double(km)) / 1000.0, 3)});
    } catch (const RangeError &) {
        return rows; // the grid stays as far as it was filled
    }
    rows.append({QStringLiteral("Расход, л"), fixed(fuel / 1000.0, 3)});
    rows.append({QStringLiteral("Ср.скорость, км/час"),
                 a.seconds == 0 ? kNoAccumulatedAverage : fixed(a.metres * 3.6 / a.seconds, 1)});
    rows.append({QStringLiteral("Ср.расход, л/100"),
                 a.metres == 0 ? kNoAccumulatedAverage : fixed(fuel * 100.0 / a.metres, 1)});
    rows.append({QStringLiteral("Ср.расход, л/час"),
                 a.seconds == 0 ? kNoAccumulatedAverage : fixed(fuel * 3.6 / a.seconds, 1)});
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
    rows.append({QStringLiteral("#"), QStringLiteral("Время"), QStringLiteral("Код ошибки")});
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
