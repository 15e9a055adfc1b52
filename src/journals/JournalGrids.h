// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the journals viewer's grids, row by row, and their export as a text file.
// The viewer and `mktool journals` both fill from here, so their outputs cannot drift apart.

#include "journals/ErrorCodeText.h"
#include "journals/JournalData.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace mk {

constexpr int kJournalColumnCount = 9;

// Header row, then one row per entry ("Посл.", 1..20); empty entries read "Пусто".
QList<QStringList> journalGridRows(const Record &s6, JournalKind kind);
// Name and value rows of one accumulator set. When the overall set's kilometres are out of
// range the rows stop after the time, as far as they could be computed.
QList<QStringList> averagesGridRows(const Record &s0, AccumulatorSet set);
// "h:mm d.mm" of an error entry.
QString errorTimeText(const ErrorEntry &entry);
// Header row, then the 7 entries numbered 0..6; the code written in the protocol's format.
QList<QStringList> errorGridRows(const Record &s12, int codeFormat, const ErrorCodeFlags &flags);

// The export format: every cell followed by a tab, every row ended by CR LF, Windows-1251.
// The rows above write decimals with a point, as the saved files and mktool do. A window shows
// them with the locale's separator ("41,300" in Russian); what it saves goes back to points.
QList<QStringList> shownRows(const QList<QStringList> &rows);
QList<QStringList> pointRows(const QList<QStringList> &rows);
QByteArray gridText(const QList<QStringList> &rows);
// The same grid as UTF-8 text with LF line ends, for Linux editors.
QByteArray gridTextUtf8(const QList<QStringList> &rows);

} // namespace mk
