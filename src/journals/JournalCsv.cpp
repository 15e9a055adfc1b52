// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalCsv.h"

#include "base/Error.h"
#include "base/Text.h"
#include "journals/JournalGrids.h"

#include <QRegularExpression>

namespace mk {

namespace {

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QStringList journalCsvRow(int index, const JournalEntry &e, const Prices &p)
{
    return QStringList{QString::number(index), isoMoment(e.month, e.day, e.minutes)} + journalCsvMeasures(e) +
           QStringList{number(journalCost(e, p), 1)};
}

} // namespace

const QList<CsvDialectName> &csvDialects()
{
    static const QList<CsvDialectName> list = {
        {CsvDialect::Plain, QStringLiteral("plain"), QStringLiteral("CSV UTF-8 (*.csv)")},
        {CsvDialect::ExcelRu, QStringLiteral("excel-ru"), QStringLiteral("CSV для Excel (русский) (*.csv)")}};
    return list;
}

const CsvDialectName &csvDialectName(CsvDialect dialect)
{
    for (const CsvDialectName &d : csvDialects())
        if (d.dialect == dialect)
            return d;
    return csvDialects().constFirst();
}

std::optional<CsvDialect> csvDialectByKey(const QString &key)
{
    for (const CsvDialectName &d : csvDialects())
        if (d.key == key)
            return d.dialect;
    return std::nullopt;
}

namespace {

QString csvLineWith(const QStringList &cells, QChar separator)
{
    QStringList quoted;
    for (QString cell : cells) {
        if (cell.contains(separator) || cell.contains(QLatin1Char('"')) || cell.contains(QLatin1Char('\n')) ||
            cell.contains(QLatin1Char('\r'))) {
            cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            cell = QLatin1Char('"') + cell + QLatin1Char('"');
        }
        quoted << cell;
    }
    return quoted.join(separator);
}

// A plain cell as a Russian spreadsheet reads it: decimals with a comma, moments day first.
QString excelRuCell(const QString &cell)
{
    static const QRegularExpression decimal(QStringLiteral("^-?\\d+\\.\\d+$"));
    static const QRegularExpression moment(
        QStringLiteral("^(\\d{4}|-)-(\\d\\d)-(\\d\\d)T(\\d\\d:\\d\\d)(:\\d\\d(\\.\\d+)?)?(Z|[+-]\\d\\d:\\d\\d)?$"));
    if (decimal.match(cell).hasMatch())
        return QString(cell).replace(QLatin1Char('.'), QLatin1Char(','));
    const QRegularExpressionMatch m = moment.match(cell);
    if (!m.hasMatch())
        return cell;
    const QString year = m.captured(1) == QLatin1String("-") ? QStringLiteral("????") : m.captured(1);
    return m.captured(3) + QLatin1Char('.') + m.captured(2) + QLatin1Char('.') + year + QLatin1Char(' ') +
           m.captured(4);
}

} // namespace

QString csvLine(const QStringList &cells) { return csvLineWith(cells, QLatin1Char(',')); }

QByteArray csvText(const QList<QStringList> &rows, CsvDialect dialect)
{
    if (dialect == CsvDialect::Plain) {
        QString text;
        for (const QStringList &row : rows)
            text += csvLine(row) + QLatin1Char('\n');
        return text.toUtf8();
    }
    QString text = QChar(0xFEFF);
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row)
            cells << excelRuCell(cell);
        text += csvLineWith(cells, QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString isoMoment(quint8 month, quint8 day, quint16 minutes)
{
    return QStringLiteral("--") + twoDigit(month) + QLatin1Char('-') + twoDigit(day) + QLatin1Char('T') +
           minutesToText(minutes);
}

QStringList journalCsvHeader()
{
    return {QStringLiteral("№"),
            QStringLiteral("Дата и время"),
            QStringLiteral("Время в пути, с"),
            QStringLiteral("Пробег, км"),
            QStringLiteral("Топливо 1, л"),
            QStringLiteral("Топливо 2, л"),
            QStringLiteral("Расход топлива, л"),
            QStringLiteral("Ср. скорость, км/час"),
            QStringLiteral("Ср. расход на 100 км"),
            QStringLiteral("Ср. расход в час"),
            QStringLiteral("Стоимость")};
}

QStringList journalCsvMeasures(const JournalEntry &e)
{
    const double fuel = double(e.fuel());
    return {QString::number(e.seconds),
            number(e.metres / 1000.0, 3),
            number(e.fuel1 / 1000.0, 3),
            number(e.fuel2 / 1000.0, 3),
            number(fuel / 1000.0, 3),
            e.seconds == 0 ? QString() : number(e.metres * 3.6 / e.seconds, 1),
            e.metres == 0 ? QString() : number(fuel * 100.0 / e.metres, 2),
            e.seconds == 0 ? QString() : number(fuel * 3.6 / e.seconds, 2)};
}

QStringList errorCsvHeader()
{
    return {QStringLiteral("№"), QStringLiteral("Дата и время"), QStringLiteral("Код ошибки"),
            QStringLiteral("Код, число")};
}

QList<QStringList> journalCsvRows(const Record &s6, JournalKind kind)
{
    QList<QStringList> rows;
    rows.append(journalCsvHeader());
    const Prices p = prices(s6);
    for (int k = 0; k < kJournalEntryCount; ++k) {
        const JournalEntry e = journalEntry(s6, kind, k);
        if (!e.empty())
            rows.append(journalCsvRow(k, e, p));
    }
    return rows;
}

QList<QStringList> averagesCsvRows(const Record &s0)
{
    QList<QStringList> rows;
    rows.append({QStringLiteral("Накопитель"), QStringLiteral("Время, с"), QStringLiteral("Пробег, км"),
                 QStringLiteral("Расход, л"), QStringLiteral("Ср.скорость, км/час"), QStringLiteral("Ср.расход, л/100"),
                 QStringLiteral("Ср.расход, л/час")});
    for (AccumulatorSet set : kAccumulatorSets) {
        const Accumulators a = accumulators(s0, set);
        const double fuel = double(a.fuel());
        QString distance; // empty when the overall set's kilometres are out of range
        try {
            const quint64 km = set == AccumulatorSet::Overall ? allPathStartKm(s0) : 0;
            distance = number((a.metres + 1000.0 * double(km)) / 1000.0, 3);
        } catch (const RangeError &) {
        }
        rows.append({accumulatorCaption(set), QString::number(a.seconds), distance, number(fuel / 1000.0, 3),
                     a.seconds == 0 ? QString() : number(a.metres * 3.6 / a.seconds, 1),
                     a.metres == 0 || distance.isEmpty() ? QString() : number(fuel * 100.0 / a.metres, 2),
                     a.seconds == 0 ? QString() : number(fuel * 3.6 / a.seconds, 2)});
    }
    return rows;
}

QList<QStringList> errorCsvRows(const Record &s12, int codeFormat, const ErrorCodeFlags &flags)
{
    QList<QStringList> rows;
    rows.append(errorCsvHeader());
    // Formats 1 and 7 show the OBD code without its letter; the letter makes it whole.
    const int fullCodeFormat = codeFormat == 1 || codeFormat == 7 ? 0 : codeFormat;
    for (int i = 0; i < kErrorEntryCount; ++i) {
        const ErrorEntry e = errorEntry(s12, i);
        if (!e.empty())
            rows.append({QString::number(i), isoMoment(e.month, e.day, e.minutes),
                         formatErrorCode(e.code, fullCodeFormat, flags), QString::number(e.code)});
    }
    return rows;
}

} // namespace mk
