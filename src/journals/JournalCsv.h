#pragma once
// The journals as CSV for spreadsheets: UTF-8, a header row, one record a line, numbers with a
// dot, no thousands separators. The journals keep no year, so a record's moment is written in
// the ISO 8601 form without a year: "--MM-DDThh:mm".

#include "journals/ErrorCodeText.h"
#include "journals/JournalData.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace mk {

// One line of comma-separated cells; a cell holding a comma, a quote or a line end is quoted.
QString csvLine(const QStringList &cells);
QByteArray csvText(const QList<QStringList> &rows);

// "--MM-DDThh:mm" of a journal entry.
QString isoMoment(quint8 month, quint8 day, quint16 minutes);

// The journal CSV's header; its cells from the time on the road to the last average (every cell
// but "№", the date and the cost), for whoever writes journal entries in the same columns.
QStringList journalCsvHeader();
QStringList journalCsvMeasures(const JournalEntry &entry);
QStringList errorCsvHeader();

// Header, then the non-empty entries latest first; "№" is the entry number (0 the latest).
// An average without a time or distance to divide by is an empty cell.
QList<QStringList> journalCsvRows(const Record &s6, JournalKind kind);
// Header, then one line per accumulator set.
QList<QStringList> averagesCsvRows(const Record &s0);
// Header, then the non-empty error entries; the code as the viewer writes it and as a number.
QList<QStringList> errorCsvRows(const Record &s12, int codeFormat, const ErrorCodeFlags &flags);

} // namespace mk
