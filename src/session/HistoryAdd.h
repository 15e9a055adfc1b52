// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adding the journals of some settings (read from the device, a settings file or a backup) to a
// car's trip history: the one way mkconf and mktool add them. Runs on the calling thread; the
// windows call it on a worker.
//
//     const JournalsOrigin origin = fileOrigin(path, QFileInfo(path).lastModified());
//     const HistoryAddResult r = addToHistory(databasePath, car, tmk, origin);

#include "history/HistoryDatabase.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace mk {

class TMK;

// When and where the journals were read: the year of each yearless entry is found from the
// time; the source is kept beside what is added.
struct JournalsOrigin
{
    QDateTime readTime;
    QString source;
};
// "чтение из МК на COM3"
JournalsOrigin deviceOrigin(const QString &deviceName, const QDateTime &when);
// "файл /home/user/car.tcset" (the absolute path, as the system writes it)
JournalsOrigin fileOrigin(const QString &path, const QDateTime &when);
// "резервная копия /home/user/.local/share/mkconf/backups/..."
JournalsOrigin backupOrigin(const QString &path, const QDateTime &when);

// The cars of the history; none when there is no history yet. Error for a file that is not a
// sound history.
QStringList historyCars(const QString &databasePath);

// Adds the journals of `tmk` to the car's history; what is held already is not added again.
// Throws Error for a database that cannot be opened or written.
HistoryAddResult addToHistory(HistoryDatabase &db, const QString &car, const TMK &tmk, const JournalsOrigin &origin);
HistoryAddResult addToHistory(const QString &databasePath, const QString &car, const TMK &tmk,
                              const JournalsOrigin &origin);

// "Добавлено в историю автомобиля «Мой автомобиль»: 3 поездки, 1 заправка, 0 ошибок." or that
// nothing was new.
QString historyAddedText(const QString &car, const HistoryAddResult &result);

} // namespace mk
