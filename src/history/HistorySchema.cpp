// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistorySchema.h"

namespace mk {

const QList<QStringList> &historyMigrations()
{
    // An entry is the same entry in every read that holds it when its recorded fields agree:
    // "occurrence" numbers entries that agree in everything within one read, so that two
    // identical short trips stay two. The year is not part of it: it depends on the read.
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE history_schema (application TEXT NOT NULL, version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO history_schema VALUES ('%1', 0)").arg(QLatin1String(kHistoryApplication)),
            QStringLiteral("CREATE TABLE cars (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)"),
            QStringLiteral("CREATE TABLE sources (id INTEGER PRIMARY KEY, car_id INTEGER NOT NULL REFERENCES cars(id),"
                           " added_at TEXT NOT NULL, read_at TEXT NOT NULL, description TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE journal_entries (id INTEGER PRIMARY KEY,"
                           " car_id INTEGER NOT NULL REFERENCES cars(id), kind INTEGER NOT NULL,"
                           " year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,"
                           " minutes INTEGER NOT NULL, year_uncertain INTEGER NOT NULL,"
                           " seconds INTEGER NOT NULL, metres INTEGER NOT NULL, fuel1 INTEGER NOT NULL,"
                           " fuel2 INTEGER NOT NULL, cost REAL, occurrence INTEGER NOT NULL,"
                           " source_id INTEGER NOT NULL REFERENCES sources(id),"
                           " UNIQUE (car_id, kind, month, day, minutes, seconds, metres, fuel1, fuel2, occurrence))"),
            QStringLiteral("CREATE INDEX journal_by_date ON journal_entries (car_id, kind, year, month, day, minutes)"),
            QStringLiteral("CREATE TABLE error_entries (id INTEGER PRIMARY KEY,"
                           " car_id INTEGER NOT NULL REFERENCES cars(id),"
                           " year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,"
                           " minutes INTEGER NOT NULL, year_uncertain INTEGER NOT NULL,"
                           " code INTEGER NOT NULL, frame_code INTEGER NOT NULL, code_text TEXT NOT NULL,"
                           " entry BLOB NOT NULL, supported BLOB NOT NULL, occurrence INTEGER NOT NULL,"
                           " source_id INTEGER NOT NULL REFERENCES sources(id),"
                           " UNIQUE (car_id, month, day, minutes, code, frame_code, entry, occurrence))"),
        },
    };
    return steps;
}

} // namespace mk
