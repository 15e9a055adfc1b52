// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journals as CSV for spreadsheets: UTF-8, a header row, one record a line, numbers with a
// dot, no thousands separators. The journals keep no year, so a record's moment is written
// without one: "MM-DD hh:mm".

#include "journals/ErrorCodeText.h"
#include "journals/JournalData.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

namespace mk {

// How a CSV file is written. Plain is for programs: UTF-8, ',' between cells, '.' decimals, ISO
// dates ("MM-DD hh:mm" for a moment without its year), LF lines. ExcelRu is for a spreadsheet set to Russian, which reads a '.' decimal as text:
// UTF-8 with a byte-order mark (else it guesses Windows-1251), ';' between cells, decimal commas,
// dates as dd.MM.yyyy HH:mm (a moment without its year as dd.MM.???? HH:mm, which stays text
// rather than take this year), CR LF lines.
enum class CsvDialect { Plain, ExcelRu };
struct CsvDialectName
{
    CsvDialect dialect;
    QString key;     // on the command line
    QString caption; // the save dialog's file type
};
const QList<CsvDialectName> &csvDialects();
const CsvDialectName &csvDialectName(CsvDialect dialect);
// The dialect of a command-line key; nothing for an unknown one.
std::optional<CsvDialect> csvDialectByKey(const QString &key);

// One line of comma-separated cells; a cell holding a comma, a quote or a line end is quoted.
QString csvLine(const QStringList &cells);
// The rows in the dialect; the cells are written by the plain dialect's rules (numbers with a
// '.', ISO or yearless moments), which ExcelRu turns into its own.
QByteArray csvText(const QList<QStringList> &rows, CsvDialect dialect = CsvDialect::Plain);

// "MM-DD hh:mm" of a journal entry, which keeps no year.
QString yearlessMoment(quint8 month, quint8 day, quint16 minutes);

// The journal CSV's header; its cells from the time on the road to the last average (every cell
// but "№", the date and the cost), for whoever writes journal entries in the same columns.
QStringList journalCsvHeader();
QStringList journalCsvMeasures(const JournalEntry &entry);
QStringList errorCsvHeader();

// Header, then the non-empty entries latest first; "№" is the entry number (0 the latest).
// An average without a time or distance to divide by is an empty cell.
QList<QStringList> journalCsvRows(const Record &s6, JournalKind kind);
// The trip and the refuelling journal of the records, each under its caption, as CSV text.
QString journalsText(const Record &s6);
// Header, then one line per accumulator set.
QList<QStringList> averagesCsvRows(const Record &s0);
// Header, then the non-empty error entries; the code as the device names it in full (a bare
// "0133" of formats 1 and 7 with its letter, "P0133", so that no reader takes it for a number)
// and as a number.
QList<QStringList> errorCsvRows(const Record &s12, int codeFormat, const ErrorCodeFlags &flags);

} // namespace mk
