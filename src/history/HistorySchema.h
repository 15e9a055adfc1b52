// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The history database's tables, version by version.

#include <QList>
#include <QStringList>

namespace mk {

// Written into the history_schema table: a database without it is another program's.
inline constexpr char kHistoryApplication[] = "mkconf trip history";

// Step i brings a database from version i to i + 1; version 0 is an empty database. The last
// version is the one this program writes.
const QList<QStringList> &historyMigrations();
inline int historySchemaVersion() { return int(historyMigrations().size()); }

} // namespace mk
