#include "history/HistoryDatabase.h"

#include "base/Error.h"
#include "history/HistoryDates.h"
#include "history/HistorySchema.h"
#include "image/TMK.h"
#include "journals/ErrorCodeText.h"
#include "journals/JournalCodeFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

namespace mk {

namespace {

QString notHistoryText(const QString &path)
{
    return QStringLiteral("Файл \"%1\" не является базой истории поездок; он оставлен без изменений.").arg(path);
}

QString damagedText(const QString &path)
{
    return QStringLiteral("База истории поездок \"%1\" повреждена; она оставлена без изменений.").arg(path);
}

// Rolls back unless committed: a failed add leaves the database as it was.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase &db) : m_db(db) { m_open = m_db.transaction(); }
    ~Transaction()
    {
        if (m_open)
            m_db.rollback();
    }
    bool begun() const { return m_open; }
    bool commit()
    {
        m_open = !m_db.commit();
        return !m_open;
    }

private:
    QSqlDatabase &m_db;
    bool m_open = false;
};

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.prepare(sql)) {
        for (const QVariant &v : values)
            q.addBindValue(v);
    }
    return q;
}

// The period as a condition on the entries' columns, its values appended to `values`.
QString periodCondition(const HistoryPeriod &period, QVariantList &values)
{
    if (!period.bounded())
        return {};
    QString sql = QStringLiteral(" AND e.year_uncertain = 0");
    const auto key = [](const QDate &d) { return d.year() * 10000 + d.month() * 100 + d.day(); };
    if (period.from.isValid()) {
        sql += QStringLiteral(" AND e.year * 10000 + e.month * 100 + e.day >= ?");
        values << key(period.from);
    }
    if (period.to.isValid()) {
        sql += QStringLiteral(" AND e.year * 10000 + e.month * 100 + e.day <= ?");
        values << key(period.to);
    }
    return sql;
}

HistoryMoment momentOf(const QSqlQuery &q, int first)
{
    return {q.value(first).toInt(), quint8(q.value(first + 1).toUInt()), quint8(q.value(first + 2).toUInt()),
            quint16(q.value(first + 3).toUInt()), q.value(first + 4).toBool()};
}

} // namespace

HistoryDatabase::HistoryDatabase(const QString &path, Access access) : m_path(path)
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("mk-history-%1").arg(counter++);
    const QFileInfo info(path);
    const bool exists = info.exists() || info.isSymLink();
    if (!exists && access == Access::ReadOnly)
        throw Error(QStringLiteral("Истории поездок ещё нет: файл \"%1\" не найден.").arg(path));
    if (exists)
        checkFile(true);
    else if (!QDir().mkpath(info.absolutePath()))
        throw Error(QStringLiteral("Не удалось создать папку \"%1\" для истории поездок.").arg(info.absolutePath()));

    try {
        open(access);
    } catch (...) {
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection); // a refused file leaves no connection behind
        throw;
    }
}

void HistoryDatabase::open(Access access)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!m_db.isValid())
        throw Error(
            QStringLiteral("Нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite): история поездок недоступна."));
    m_db.setDatabaseName(m_path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (access == Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
    if (!m_db.open())
        throw Error(QStringLiteral("Не удалось открыть базу истории поездок \"%1\".").arg(m_path));
    checkSchema(access == Access::ReadWrite);
}

HistoryDatabase::~HistoryDatabase()
{
    if (m_db.isOpen())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

QString HistoryDatabase::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mkconf/history.sqlite");
}

QString HistoryDatabase::defaultCarName() { return QStringLiteral("Мой автомобиль"); }

// Only a regular file that is empty or starts as a SQLite database is opened: SQLite itself
// would take any file it cannot read for a new database on the first write.
void HistoryDatabase::checkFile(bool exists) const
{
    if (!exists)
        return;
    const QFileInfo info(m_path);
    if (info.isSymLink())
        throw Error(QStringLiteral("\"%1\" — ссылка на другой файл; база истории поездок открывается только "
                                   "по своему имени, ссылка оставлена без изменений.")
                        .arg(m_path));
    if (!info.isFile())
        throw Error(notHistoryText(m_path));
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Нет доступа к базе истории поездок \"%1\".").arg(m_path));
    const QByteArray head = f.read(16);
    if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16))
        throw Error(notHistoryText(m_path));
}

void HistoryDatabase::checkSchema(bool writable)
{
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next() ||
        check.value(0).toString() != QLatin1String("ok"))
        throw Error(damagedText(m_path));
    QSqlQuery tables(m_db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw Error(damagedText(m_path));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    QSqlQuery(m_db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    if (names.isEmpty()) {
        if (!writable)
            throw Error(QStringLiteral("Истории поездок ещё нет: база \"%1\" пуста.").arg(m_path));
        migrate(0);
        return;
    }
    QSqlQuery schema(m_db);
    if (!names.contains(QLatin1String("history_schema")) ||
        !schema.exec(QStringLiteral("SELECT application, version FROM history_schema")) || !schema.next() ||
        schema.value(0).toString() != QLatin1String(kHistoryApplication))
        throw Error(notHistoryText(m_path));
    const int version = schema.value(1).toInt();
    if (version > historySchemaVersion())
        throw Error(QStringLiteral("База истории поездок \"%1\" создана более новой версией программы; "
                                   "она оставлена без изменений.")
                        .arg(m_path));
    if (version < 0)
        throw Error(damagedText(m_path));
    if (version < historySchemaVersion()) {
        if (!writable)
            throw Error(QStringLiteral("База истории поездок \"%1\" создана старой версией программы; "
                                       "она обновится при следующем добавлении журналов.")
                            .arg(m_path));
        migrate(version);
    }
}

// Every step and the new version in one transaction: a failed migration leaves the old database.
void HistoryDatabase::migrate(int from)
{
    Transaction t(m_db);
    if (!t.begun())
        failWrite();
    const QList<QStringList> &steps = historyMigrations();
    for (int v = from; v < int(steps.size()); ++v)
        for (const QString &sql : steps[v])
            if (!QSqlQuery(m_db).exec(sql))
                failWrite();
    QSqlQuery q = prepared(m_db, QStringLiteral("UPDATE history_schema SET version = ?"), {historySchemaVersion()});
    if (!q.exec() || !t.commit())
        failWrite();
}

void HistoryDatabase::failWrite() const
{
    throw Error(QStringLiteral("Не удалось записать историю поездок в \"%1\"; база осталась как была.").arg(m_path));
}

QStringList HistoryDatabase::cars() const
{
    QSqlQuery q(m_db);
    QStringList names;
    if (!q.exec(QStringLiteral("SELECT name FROM cars ORDER BY id")))
        throw Error(damagedText(m_path));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

bool HistoryDatabase::hasCar(const QString &name) const { return cars().contains(name); }

qint64 HistoryDatabase::carId(const QString &name) const
{
    QSqlQuery q = prepared(m_db, QStringLiteral("SELECT id FROM cars WHERE name = ?"), {name});
    if (!q.exec())
        throw Error(damagedText(m_path));
    if (!q.next())
        throw Error(QStringLiteral("В истории нет автомобиля \"%1\".").arg(name));
    return q.value(0).toLongLong();
}

qint64 HistoryDatabase::ensureCar(const QString &name)
{
    if (name.trimmed().isEmpty())
        throw Error(QStringLiteral("Не указано название автомобиля."));
    QSqlQuery q = prepared(m_db, QStringLiteral("INSERT OR IGNORE INTO cars (name) VALUES (?)"), {name});
    if (!q.exec())
        failWrite();
    return carId(name);
}

void HistoryDatabase::renameCar(const QString &name, const QString &newName)
{
    if (newName.trimmed().isEmpty())
        throw Error(QStringLiteral("Не указано название автомобиля."));
    const qint64 id = carId(name);
    if (name == newName)
        return;
    if (hasCar(newName))
        throw Error(QStringLiteral("Автомобиль \"%1\" уже есть в истории.").arg(newName));
    QSqlQuery q = prepared(m_db, QStringLiteral("UPDATE cars SET name = ? WHERE id = ?"), {newName, id});
    if (!q.exec())
        failWrite();
}

void HistoryDatabase::deleteCar(const QString &name)
{
    const qint64 id = carId(name);
    Transaction t(m_db);
    if (!t.begun())
        failWrite();
    for (const char *table : {"journal_entries", "error_entries", "sources", "cars"}) {
        const QString column = qstrcmp(table, "cars") == 0 ? QStringLiteral("id") : QStringLiteral("car_id");
        QSqlQuery q =
            prepared(m_db, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QLatin1String(table), column), {id});
        if (!q.exec())
            failWrite();
    }
    if (!t.commit())
        failWrite();
}

HistoryAddResult HistoryDatabase::addJournals(const QString &car, const TMK &tmk, const QDateTime &readTime,
                                              const QString &source)
{
    Transaction t(m_db);
    if (!t.begun())
        failWrite();
    const qint64 carKey = ensureCar(car);
    QSqlQuery src = prepared(
        m_db,
        QStringLiteral("INSERT INTO sources (car_id, added_at, read_at, description) "
                       "VALUES (?, ?, ?, ?)"),
        {carKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate), readTime.toString(Qt::ISODate), source});
    if (!src.exec())
        failWrite();
    const qint64 sourceId = src.lastInsertId().toLongLong();

    HistoryAddResult result;
    const Record &s6 = tmk.record(kTripsSection);
    const Prices p = prices(s6);
    const bool priced = p.expense != 0 || p.time != 0 || p.path != 0 || p.gas != 0;
    QSqlQuery insertEntry(m_db);
    insertEntry.prepare(QStringLiteral(
        "INSERT OR IGNORE INTO journal_entries (car_id, kind, year, month, day, minutes, year_uncertain, seconds, "
        "metres, fuel1, fuel2, cost, occurrence, source_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (JournalKind kind : {JournalKind::Trip, JournalKind::Tank}) {
        QList<JournalEntry> entries;
        QList<QByteArray> raws;
        QList<YearlessMoment> moments;
        for (int k = 0; k < kJournalEntryCount; ++k) {
            const JournalEntry e = journalEntry(s6, kind, k);
            if (e.empty())
                continue;
            entries << e;
            raws << s6.raw(journalOffset(kind) + k * kJournalEntrySize, kJournalEntrySize);
            moments << YearlessMoment{e.month, e.day, e.minutes};
        }
        const QList<PlacedYear> years = placeYears(moments, readTime);
        QHash<QByteArray, int> seen;
        for (int i = 0; i < entries.size(); ++i) {
            const JournalEntry &e = entries[i];
            const QVariantList values = {carKey,
                                         int(kind),
                                         years[i].year,
                                         e.month,
                                         e.day,
                                         e.minutes,
                                         years[i].uncertain,
                                         e.seconds,
                                         e.metres,
                                         e.fuel1,
                                         e.fuel2,
                                         priced ? QVariant(journalCost(e, p)) : QVariant(),
                                         seen[raws[i]]++,
                                         sourceId};
            for (int v = 0; v < values.size(); ++v)
                insertEntry.bindValue(v, values[v]);
            if (!insertEntry.exec())
                failWrite();
            if (insertEntry.numRowsAffected() == 1) {
                ++(kind == JournalKind::Trip ? result.trips : result.refuellings);
                result.uncertain += years[i].uncertain ? 1 : 0;
            }
        }
    }

    const Record &s12 = tmk.record(kErrorsSection);
    const int format = journalErrorCodeFormat(tmk);
    const ErrorCodeFlags flags = errorCodeFlags(tmk.record(kVehicleSection));
    const QByteArray supported = s12.raw(kSupportedBitmapOffset, kSupportedBitmapSize);
    QList<ErrorEntry> errs;
    QList<QByteArray> raws;
    QList<YearlessMoment> moments;
    for (int i = 0; i < kErrorEntryCount; ++i) {
        const ErrorEntry e = errorEntry(s12, i);
        if (e.empty())
            continue;
        errs << e;
        raws << s12.raw(kErrorEntriesOffset + i * kErrorEntrySize, kErrorEntrySize);
        moments << YearlessMoment{e.month, e.day, e.minutes};
    }
    const QList<PlacedYear> years = placeYears(moments, readTime);
    QSqlQuery insertError(m_db);
    insertError.prepare(QStringLiteral(
        "INSERT OR IGNORE INTO error_entries (car_id, year, month, day, minutes, year_uncertain, code, frame_code, "
        "code_text, entry, supported, occurrence, source_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QHash<QByteArray, int> seen;
    for (int i = 0; i < errs.size(); ++i) {
        const ErrorEntry &e = errs[i];
        const QVariantList values = {carKey,  years[i].year, e.month,
                                     e.day,   e.minutes,     years[i].uncertain,
                                     e.code,  e.frameCode,   formatErrorCode(e.code, format, flags),
                                     raws[i], supported,     seen[raws[i]]++,
                                     sourceId};
        for (int v = 0; v < values.size(); ++v)
            insertError.bindValue(v, values[v]);
        if (!insertError.exec())
            failWrite();
        if (insertError.numRowsAffected() == 1) {
            ++result.errors;
            result.uncertain += years[i].uncertain ? 1 : 0;
        }
    }
    if (!t.commit())
        failWrite();
    return result;
}

QList<HistoryJournalEntry> HistoryDatabase::journal(const QString &car, JournalKind kind,
                                                    const HistoryPeriod &period) const
{
    QVariantList values{carId(car), int(kind)};
    const QString within = periodCondition(period, values);
    QSqlQuery q = prepared(m_db,
                           QStringLiteral("SELECT e.year, e.month, e.day, e.minutes, e.year_uncertain, e.seconds, "
                                          "e.metres, e.fuel1, e.fuel2, e.cost, s.description "
                                          "FROM journal_entries e JOIN sources s ON s.id = e.source_id "
                                          "WHERE e.car_id = ? AND e.kind = ?%1 "
                                          "ORDER BY e.year DESC, e.month DESC, e.day DESC, e.minutes DESC, e.id")
                               .arg(within),
                           values);
    if (!q.exec())
        throw Error(damagedText(m_path));
    QList<HistoryJournalEntry> rows;
    while (q.next()) {
        HistoryJournalEntry r;
        r.moment = momentOf(q, 0);
        r.entry.minutes = r.moment.minutes;
        r.entry.day = r.moment.day;
        r.entry.month = r.moment.month;
        r.entry.seconds = q.value(5).toUInt();
        r.entry.metres = q.value(6).toUInt();
        r.entry.fuel1 = q.value(7).toUInt();
        r.entry.fuel2 = q.value(8).toUInt();
        if (!q.value(9).isNull())
            r.cost = q.value(9).toDouble();
        r.source = q.value(10).toString();
        rows << r;
    }
    return rows;
}

QList<HistoryErrorEntry> HistoryDatabase::errors(const QString &car, const HistoryPeriod &period) const
{
    QVariantList values{carId(car)};
    const QString within = periodCondition(period, values);
    QSqlQuery q = prepared(m_db,
                           QStringLiteral("SELECT e.year, e.month, e.day, e.minutes, e.year_uncertain, e.entry, "
                                          "e.code_text, e.supported, s.description "
                                          "FROM error_entries e JOIN sources s ON s.id = e.source_id "
                                          "WHERE e.car_id = ?%1 "
                                          "ORDER BY e.year DESC, e.month DESC, e.day DESC, e.minutes DESC, e.id")
                               .arg(within),
                           values);
    if (!q.exec())
        throw Error(damagedText(m_path));
    QList<HistoryErrorEntry> rows;
    while (q.next()) {
        HistoryErrorEntry r;
        r.moment = momentOf(q, 0);
        // The entry's own bytes, read back through the journal's decoder.
        Record one(kErrorEntriesOffset + kErrorEntrySize);
        const QByteArray raw = q.value(5).toByteArray();
        if (raw.size() != kErrorEntrySize)
            throw Error(damagedText(m_path));
        one.setRaw(kErrorEntriesOffset, raw);
        r.entry = errorEntry(one, 0);
        r.codeText = q.value(6).toString();
        r.supported = q.value(7).toByteArray();
        r.source = q.value(8).toString();
        rows << r;
    }
    return rows;
}

QList<MonthTotals> HistoryDatabase::monthlyTotals(const QString &car, const HistoryPeriod &period) const
{
    QVariantList values{carId(car)};
    const QString within = periodCondition(period, values);
    QSqlQuery q = prepared(m_db,
                           QStringLiteral("SELECT e.year, e.month, COUNT(*), SUM(e.metres), SUM(e.fuel1 + e.fuel2), "
                                          "SUM(e.cost), COUNT(e.cost) FROM journal_entries e "
                                          "WHERE e.car_id = ? AND e.kind = 0 AND e.year_uncertain = 0%1 "
                                          "GROUP BY e.year, e.month ORDER BY e.year, e.month")
                               .arg(within),
                           values);
    if (!q.exec())
        throw Error(damagedText(m_path));
    QList<MonthTotals> months;
    while (q.next()) {
        MonthTotals m;
        m.year = q.value(0).toInt();
        m.month = q.value(1).toInt();
        // Months without trips between the held ones, for charts with an even time axis.
        while (!months.isEmpty()) {
            const MonthTotals &last = months.last();
            const int next = last.year * 12 + last.month; // the month after last, counted from year 0
            if (next >= m.year * 12 + m.month - 1)
                break;
            MonthTotals empty;
            empty.year = next / 12;
            empty.month = next % 12 + 1;
            months << empty;
        }
        m.trips = q.value(2).toInt();
        const double metres = q.value(3).toDouble();
        m.km = metres / 1000.0;
        m.litres = q.value(4).toDouble() / 1000.0;
        if (metres > 0)
            m.litresPer100km = m.litres * 100.0 / m.km;
        if (q.value(6).toInt() > 0)
            m.cost = q.value(5).toDouble();
        months << m;
    }
    return months;
}

} // namespace mk
