// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalCsv.h"

#include "base/Error.h"
#include "base/Text.h"
#include "journals/JournalGrids.h"
#include "journals/JournalQuantities.h"

#include <QRegularExpression>

namespace mk {

namespace {

QStringList journalCsvRow(int index, const JournalEntry &e, const Prices &p)
{
    return QStringList{QString::number(index), yearlessMoment(e.month, e.day, e.minutes)} + journalCsvMeasures(e) +
           QStringList{
               quantityText(JournalQuantity::Cost, QuantityOutput::JournalCsv, journalAmounts(e, journalCost(e, p)))};
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
    static const QRegularExpression yearless(QStringLiteral("^(\\d\\d)-(\\d\\d) (\\d\\d:\\d\\d)$"));
    if (decimal.match(cell).hasMatch())
        return QString(cell).replace(QLatin1Char('.'), QLatin1Char(','));
    if (const QRegularExpressionMatch y = yearless.match(cell); y.hasMatch())
        return y.captured(2) + QLatin1Char('.') + y.captured(1) + QStringLiteral(".???? ") + y.captured(3);
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

QString yearlessMoment(quint8 month, quint8 day, quint16 minutes)
{
    return twoDigit(month) + QLatin1Char('-') + twoDigit(day) + QLatin1Char(' ') + minutesToText(minutes);
}

QStringList journalCsvHeader()
{
    QStringList header{entryNumberCaption(QuantityOutput::JournalCsv), journalMomentCaption()};
    for (JournalQuantity q : journalCsvQuantities())
        header << quantityCaption(q, QuantityOutput::JournalCsv);
    return header;
}

QStringList journalCsvMeasures(const JournalEntry &e)
{
    const JournalAmounts amounts = journalAmounts(e);
    QStringList cells;
    for (JournalQuantity q : journalCsvQuantities())
        if (q != JournalQuantity::Cost)
            cells << quantityText(q, QuantityOutput::JournalCsv, amounts);
    return cells;
}

QStringList errorCsvHeader()
{
    return {entryNumberCaption(QuantityOutput::JournalCsv), errorMomentCaption(), QStringLiteral("Код ошибки"),
            QStringLiteral("Код, число")};
}

QString journalsText(const Record &s6)
{
    return QStringLiteral("Журнал поездок:\n") + QString::fromUtf8(csvText(journalCsvRows(s6, JournalKind::Trip))) +
           QStringLiteral("\nЖурнал заправок:\n") + QString::fromUtf8(csvText(journalCsvRows(s6, JournalKind::Tank)));
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
    QStringList header{QStringLiteral("Накопитель")};
    for (JournalQuantity q : averagesQuantities())
        header << quantityCaption(q, QuantityOutput::AveragesCsv);
    rows.append(header);
    for (AccumulatorSet set : kAccumulatorSets) {
        JournalAmounts amounts = journalAmounts(accumulators(s0, set));
        bool distance = true; // false when the overall set's kilometres are out of range
        try {
            amounts.extraKm = set == AccumulatorSet::Overall ? allPathStartKm(s0) : 0;
        } catch (const RangeError &) {
            distance = false;
        }
        QStringList row{accumulatorCaption(set)};
        for (JournalQuantity q : averagesQuantities()) {
            const bool needsDistance = q == JournalQuantity::Distance || q == JournalQuantity::PerHundredKm;
            row << (needsDistance && !distance ? QString() : quantityText(q, QuantityOutput::AveragesCsv, amounts));
        }
        rows.append(row);
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
            rows.append({QString::number(i), yearlessMoment(e.month, e.day, e.minutes),
                         formatErrorCode(e.code, fullCodeFormat, flags), QString::number(e.code)});
    }
    return rows;
}

} // namespace mk
