// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/HistoryAdd.h"

#include "base/Text.h"
#include "image/TMK.h"

#include <QDir>
#include <QFileInfo>

namespace mk {

namespace {

QString shownPath(const QString &path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

} // namespace

JournalsOrigin deviceOrigin(const QString &deviceName, const QDateTime &when)
{
    return {when, QStringLiteral("чтение из %1").arg(deviceName)};
}

JournalsOrigin fileOrigin(const QString &path, const QDateTime &when)
{
    return {when, QStringLiteral("файл %1").arg(shownPath(path))};
}

JournalsOrigin backupOrigin(const QString &path, const QDateTime &when)
{
    return {when, QStringLiteral("резервная копия %1").arg(shownPath(path))};
}

QStringList historyCars(const QString &databasePath)
{
    if (!QFileInfo::exists(databasePath) && !QFileInfo(databasePath).isSymLink())
        return {};
    return HistoryDatabase(databasePath, HistoryDatabase::Access::ReadOnly).cars();
}

HistoryAddResult addToHistory(HistoryDatabase &db, const QString &car, const TMK &tmk, const JournalsOrigin &origin)
{
    return db.addJournals(car, tmk, origin.readTime, origin.source);
}

HistoryAddResult addToHistory(const QString &databasePath, const QString &car, const TMK &tmk,
                              const JournalsOrigin &origin)
{
    HistoryDatabase db(databasePath);
    return addToHistory(db, car, tmk, origin);
}

QString historyAddedText(const QString &car, const HistoryAddResult &r)
{
    if (r.none())
        return QStringLiteral("Всё из этих журналов уже есть в истории автомобиля «%1»: новых записей нет.").arg(car);
    QString text = QStringLiteral("Добавлено в историю автомобиля «%1»: %2, %3, %4.")
                       .arg(car, countedText(r.trips, "поездка", "поездки", "поездок"),
                            countedText(r.refuellings, "заправка", "заправки", "заправок"),
                            countedText(r.errors, "ошибка", "ошибки", "ошибок"));
    if (r.uncertain > 0)
        text += QStringLiteral(" У %1 год не определить по дате чтения: они показаны без года.")
                    .arg(countedText(r.uncertain, "записи", "записей", "записей"));
    return text;
}

} // namespace mk
