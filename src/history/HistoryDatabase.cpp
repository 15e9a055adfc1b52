// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryDatabase.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/TraceLog.h"
#include "history/CarNames.h"
#include "history/HistoryDates.h"
#include "history/HistorySchema.h"
#include "image/TMK.h"
#include "journals/ErrorCodeText.h"
#include "journals/JournalCodeFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <cerrno>

namespace mk {

// The trip history's trace: the database opened, reads added, what failed (no car names).
Q_LOGGING_CATEGORY(lcHistory, "mk.history", QtWarningMsg)

namespace {

QString notHistoryText(const QString &path)
{
    return QStringLiteral("Файл \"%1\" не является базой истории поездок; он оставлен без изменений.").arg(QDir::toNativeSeparators(path));
}

QString damagedText(const QString &path)
{
    return QStringLiteral("База истории поездок \"%1\" повреждена; она оставлена без изменений.").arg(QDir::toNativeSeparators(path));
}

// SQLite's primary result codes that the messages tell apart.
enum SqliteCode : int {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
};
// READONLY_ROLLBACK: a hot journal waits to be rolled back, which a read-only connection cannot do.
constexpr int kReadOnlyRollback = kReadOnly | (3 << 8);

int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

// Waits for another program's transaction this long before saying the database is busy.
constexpr int kBusyTimeoutMs = 5000;

// Rolls back unless committed: a failed add leaves the database as it was. IMMEDIATE takes the
// write lock at once (waiting for it while another program writes), so that a transaction that
// has read never has to be abandoned because another one wrote meanwhile.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase &db) : m_db(db)
    {
        QSqlQuery begin(m_db);
        m_open = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (!m_open)
            m_error = begin.lastError();
    }
    ~Transaction()
    {
        if (m_open)
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    }
    bool begun() const { return m_open; }
    const QSqlError &error() const { return m_error; }
    bool commit()
    {
        QSqlQuery commit(m_db);
        if (commit.exec(QStringLiteral("COMMIT")))
            m_open = false;
        else
            m_error = commit.lastError();
        return !m_open;
    }

private:
    QSqlDatabase &m_db;
    bool m_open = false;
    QSqlError m_error;
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
        throw Error(
            ErrorKind::FileIo,
            QStringLiteral("Истории поездок ещё нет: файл \"%1\" не найден.").arg(QDir::toNativeSeparators(path)));
    try {
        if (!exists) {
            if (!QDir().mkpath(info.absolutePath()))
                throw Error(QStringLiteral("Не удалось создать папку \"%1\" для истории поездок.")
                                .arg(QDir::toNativeSeparators(info.absolutePath())));
            m_newAndEmpty = createNew();
        }
        checkFile();
        open(access);
        qCDebug(lcHistory).noquote() << QStringLiteral("opened %1 (%2%3)")
                                            .arg(QDir::toNativeSeparators(path),
                                                 access == Access::ReadOnly ? QStringLiteral("read only")
                                                                            : QStringLiteral("read and write"),
                                                 exists ? QString() : QStringLiteral(", made new"));
    } catch (const Error &e) {
        qCDebug(lcHistory).noquote()
            << QStringLiteral("not opened %1: %2").arg(QDir::toNativeSeparators(path), e.text());
        disconnect(); // a refused file leaves no connection behind
        throw;
    } catch (...) {
        disconnect();
        throw;
    }
}

void HistoryDatabase::connect(const QString &file, const char *mode)
{
    disconnect();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!m_db.isValid())
        throw Error(
            QStringLiteral("Нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite): история поездок недоступна."));
    // A URI, so that the mode is SQLite's own: "rw" and "ro" never create a file at the name.
    m_db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                         QStringLiteral("?mode=") + QLatin1String(mode));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_db.open())
        fail(m_db.lastError(), false);
    QSqlQuery(m_db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
}

void HistoryDatabase::disconnect()
{
    if (m_db.isOpen())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

// A new database is made whole under a hidden name and only then put at its own name, unless
// another program has put one there meanwhile (that one is then used): a failure, a full disk
// included, leaves no empty or half-made file behind.
bool HistoryDatabase::createNew()
{
    const QFileInfo info(m_path);
    const QString stem = QStringLiteral(".%1.%2").arg(info.fileName()).arg(QCoreApplication::applicationPid());
    const QString temp = writeNewFile(
        info.absolutePath(), [&stem](int n) { return stem + QStringLiteral("-%1.new").arg(n); }, QByteArray());
    struct Cleanup
    {
        QString path;
        ~Cleanup()
        {
            if (!path.isEmpty()) {
                QFile::remove(path);
                QFile::remove(path + QStringLiteral("-journal"));
            }
        }
    } cleanup{temp};
    m_creating = true;
    connect(temp, "rw");
    migrate();
    disconnect();
    m_creating = false;
    if (!moveIfFree(temp, m_path))
        return false;
    cleanup.path.clear();
    return true;
}

void HistoryDatabase::open(Access access)
{
    // A journal beside the database is left by an add that was interrupted: SQLite rolls it back
    // on the first read, which needs the right to write. Without that right it says so.
    const bool interrupted = QFileInfo(m_path + QStringLiteral("-journal")).size() > 0;
    const bool writable = access == Access::ReadWrite || (interrupted && QFileInfo(m_path).isWritable());
    connect(m_path, writable ? "rw" : "ro");
    checkSchema(access == Access::ReadWrite);
}

void HistoryDatabase::fail(const QSqlError &error, bool writing) const
{
    const int code = sqliteCode(error);
    QString reason;
    switch (code & 0xff) {
    case kBusy:
    case kLocked:
        throw Error(ErrorKind::FileIo,
                    QStringLiteral("База истории поездок \"%1\" занята другой программой; попробуйте ещё раз, "
                                   "когда та закончит с ней работу. База оставлена без изменений.")
                        .arg(QDir::toNativeSeparators(m_path)));
    case kCorrupt: throw Error(ErrorKind::Damaged, damagedText(m_path));
    case kNotADatabase: throw Error(ErrorKind::Damaged, notHistoryText(m_path));
    case kFull: reason = fileErrorReason(ENOSPC); break;
    case kIoError: reason = fileErrorReason(EIO); break;
    case kPerm: reason = fileErrorReason(EPERM); break;
    case kCantOpen: reason = QStringLiteral("файл не открывается (нет прав доступа к нему или к его папке)"); break;
    case kReadOnly:
        reason = code == kReadOnlyRollback
                     ? QStringLiteral("запись в неё была прервана, а восстановить её можно только с правом записи")
                     : QStringLiteral("нет прав на запись в файл или в его папку, либо диск доступен только для "
                                      "чтения");
        break;
    default: reason = QStringLiteral("ошибка SQLite %1").arg(code); break;
    }
    if (m_creating)
        throw Error(ErrorKind::FileIo, QStringLiteral("Не удалось создать базу истории поездок \"%1\": %2.")
                                           .arg(QDir::toNativeSeparators(m_path), reason));
    m_writeFailed = m_writeFailed || writing;
    if (writing)
        throw Error(ErrorKind::FileIo,
                    QStringLiteral("Не удалось записать историю поездок в \"%1\": %2; база осталась как была.")
                        .arg(QDir::toNativeSeparators(m_path), reason));
    throw Error(ErrorKind::FileIo, QStringLiteral("Не удалось прочитать базу истории поездок \"%1\": %2.")
                                       .arg(QDir::toNativeSeparators(m_path), reason));
}

HistoryDatabase::~HistoryDatabase() { disconnect(); }

QString HistoryDatabase::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mkconf/history.sqlite");
}

QString HistoryDatabase::defaultCarName() { return QStringLiteral("Мой автомобиль"); }

void HistoryDatabase::loadDriver()
{
    static const bool loaded = [] {
        const QString probe = QStringLiteral("mk-driver-load");
        (void)QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), probe); // the plugin stays loaded
        QSqlDatabase::removeDatabase(probe);
        return true;
    }();
    (void)loaded;
}

// Only a regular file that starts as a SQLite database is opened: SQLite itself would take an
// empty file, or any it cannot read, for a new database on the first write.
void HistoryDatabase::checkFile() const
{
    const QFileInfo info(m_path);
    if (info.isSymLink())
        throw Error(QStringLiteral("\"%1\" — ссылка на другой файл; база истории поездок открывается только "
                                   "по своему имени, ссылка оставлена без изменений.")
                        .arg(QDir::toNativeSeparators(m_path)));
    if (!info.isFile())
        throw Error(ErrorKind::Damaged, notHistoryText(m_path));
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::FileIo,
                    QStringLiteral("Нет доступа к базе истории поездок \"%1\".").arg(QDir::toNativeSeparators(m_path)));
    const QByteArray head = f.read(16);
    if (head.isEmpty())
        throw Error(QStringLiteral("Файл \"%1\" пуст: это не база истории поездок; он оставлен без изменений. "
                                   "Если он остался от неудачной записи, удалите его или укажите другой файл.")
                        .arg(QDir::toNativeSeparators(m_path)));
    if (head != QByteArray("SQLite format 3\0", 16))
        throw Error(ErrorKind::Damaged, notHistoryText(m_path));
}

void HistoryDatabase::checkSchema(bool writable)
{
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next())
        fail(check.lastError(), false);
    if (check.value(0).toString() != QLatin1String("ok"))
        throw Error(ErrorKind::Damaged, damagedText(m_path));
    const int version = storedVersion();
    if (version == 0) {
        if (!writable)
            throw Error(
                QStringLiteral("Истории поездок ещё нет: база \"%1\" пуста.").arg(QDir::toNativeSeparators(m_path)));
        migrate();
        return;
    }
    if (version > historySchemaVersion())
        throw Error(QStringLiteral("База истории поездок \"%1\" создана более новой версией программы; "
                                   "она оставлена без изменений.")
                        .arg(QDir::toNativeSeparators(m_path)));
    if (version < historySchemaVersion()) {
        if (!writable)
            throw Error(QStringLiteral("База истории поездок \"%1\" создана старой версией программы; "
                                       "она обновится при следующем добавлении журналов.")
                            .arg(QDir::toNativeSeparators(m_path)));
        migrate();
    }
}

// 0 for a database without tables; Error for another program's database or a damaged one.
int HistoryDatabase::storedVersion() const
{
    QSqlQuery tables(m_db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        fail(tables.lastError(), false);
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    if (names.isEmpty())
        return 0;
    QSqlQuery schema(m_db);
    if (!names.contains(QLatin1String("history_schema")) ||
        !schema.exec(QStringLiteral("SELECT application, version FROM history_schema")) || !schema.next() ||
        schema.value(0).toString() != QLatin1String(kHistoryApplication))
        throw Error(ErrorKind::Damaged, notHistoryText(m_path));
    const int version = schema.value(1).toInt();
    if (version <= 0) // a committed migration leaves its version; 0 is the first step's own row
        throw Error(ErrorKind::Damaged, damagedText(m_path));
    return version;
}

// Every step and the new version in one transaction, from the version found once the write lock
// is held (another program may have brought the database up meanwhile): a failed migration
// leaves the old database.
void HistoryDatabase::migrate()
{
    Transaction t(m_db);
    if (!t.begun())
        fail(t.error(), true);
    const int from = storedVersion();
    const QList<QStringList> &steps = historyMigrations();
    for (int v = from; v < int(steps.size()); ++v)
        for (const QString &sql : steps[v]) {
            QSqlQuery q(m_db);
            if (!q.exec(sql))
                fail(q.lastError(), true);
        }
    QSqlQuery q = prepared(m_db, QStringLiteral("UPDATE history_schema SET version = ?"), {historySchemaVersion()});
    if (!q.exec())
        fail(q.lastError(), true);
    if (!t.commit())
        fail(t.error(), true);
}

QStringList HistoryDatabase::cars() const
{
    QSqlQuery q(m_db);
    QStringList names;
    if (!q.exec(QStringLiteral("SELECT name FROM cars ORDER BY id")))
        fail(q.lastError(), false);
    while (q.next())
        names << q.value(0).toString();
    return names;
}

bool HistoryDatabase::hasCar(const QString &name) const { return cars().contains(name); }

std::optional<qint64> HistoryDatabase::findCar(const QString &name) const
{
    QSqlQuery q = prepared(m_db, QStringLiteral("SELECT id FROM cars WHERE name = ?"), {name});
    if (!q.exec())
        fail(q.lastError(), false);
    if (!q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

qint64 HistoryDatabase::carId(const QString &name) const
{
    if (const std::optional<qint64> id = findCar(name))
        return *id;
    throw Error(ErrorKind::BadValue, QStringLiteral("В истории нет автомобиля \"%1\".").arg(printableCarName(name)));
}

// A car held already keeps its name as it is; a new one must have a name fit for one.
qint64 HistoryDatabase::ensureCar(const QString &name)
{
    if (const std::optional<qint64> id = findCar(name))
        return *id;
    if (const QString problem = carNameProblem(name); !problem.isEmpty())
        throw Error(problem);
    QSqlQuery q = prepared(m_db, QStringLiteral("INSERT INTO cars (name) VALUES (?)"), {name});
    if (!q.exec())
        fail(q.lastError(), true);
    return q.lastInsertId().toLongLong();
}

void HistoryDatabase::renameCar(const QString &name, const QString &newName)
{
    if (const QString problem = carNameProblem(newName); !problem.isEmpty())
        throw Error(problem);
    Transaction t(m_db);
    if (!t.begun())
        fail(t.error(), true);
    const qint64 id = carId(name);
    if (name == newName)
        return;
    if (findCar(newName))
        throw Error(ErrorKind::BadValue, QStringLiteral("Автомобиль \"%1\" уже есть в истории.").arg(newName));
    QSqlQuery q = prepared(m_db, QStringLiteral("UPDATE cars SET name = ? WHERE id = ?"), {newName, id});
    if (!q.exec())
        fail(q.lastError(), true);
    if (!t.commit())
        fail(t.error(), true);
}

void HistoryDatabase::deleteCar(const QString &name)
{
    Transaction t(m_db);
    if (!t.begun())
        fail(t.error(), true);
    const qint64 id = carId(name);
    for (const char *table : {"journal_entries", "error_entries", "sources", "cars"}) {
        const QString column = qstrcmp(table, "cars") == 0 ? QStringLiteral("id") : QStringLiteral("car_id");
        QSqlQuery q =
            prepared(m_db, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QLatin1String(table), column), {id});
        if (!q.exec())
            fail(q.lastError(), true);
    }
    if (!t.commit())
        fail(t.error(), true);
}

HistoryAddResult HistoryDatabase::addJournals(const QString &car, const TMK &tmk, const QDateTime &readTime,
                                              const QString &source)
{
    m_writeFailed = false;
    try {
        const HistoryAddResult result = addJournalsOnce(car, tmk, readTime, source);
        m_newAndEmpty = false;
        qCDebug(lcHistory).noquote() << QStringLiteral("added: %1 trip(s), %2 refuelling(s), %3 error(s)")
                                            .arg(result.trips)
                                            .arg(result.refuellings)
                                            .arg(result.errors);
        return result;
    } catch (const Error &e) {
        qCDebug(lcHistory).noquote() << QStringLiteral("adding failed: %1").arg(e.text());
        if (m_newAndEmpty && m_writeFailed) {
            disconnect();
            QFile::remove(m_path + QStringLiteral("-journal"));
            QFile::remove(m_path);
            m_newAndEmpty = false;
        }
        throw;
    }
}

HistoryAddResult HistoryDatabase::addJournalsOnce(const QString &car, const TMK &tmk, const QDateTime &readTime,
                                                  const QString &source)
{
    Transaction t(m_db);
    if (!t.begun())
        fail(t.error(), true);
    const qint64 carKey = ensureCar(car);
    QSqlQuery src = prepared(
        m_db,
        QStringLiteral("INSERT INTO sources (car_id, added_at, read_at, description) "
                       "VALUES (?, ?, ?, ?)"),
        {carKey, currentDateTime().toUTC().toString(Qt::ISODate), readTime.toString(Qt::ISODate), source});
    if (!src.exec())
        fail(src.lastError(), true);
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
                fail(insertEntry.lastError(), true);
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
            fail(insertError.lastError(), true);
        if (insertError.numRowsAffected() == 1) {
            ++result.errors;
            result.uncertain += years[i].uncertain ? 1 : 0;
        }
    }
    if (!t.commit())
        fail(t.error(), true);
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
        fail(q.lastError(), false);
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
        fail(q.lastError(), false);
    QList<HistoryErrorEntry> rows;
    while (q.next()) {
        HistoryErrorEntry r;
        r.moment = momentOf(q, 0);
        // The entry's own bytes, read back through the journal's decoder.
        Record one(kErrorEntriesOffset + kErrorEntrySize);
        const QByteArray raw = q.value(5).toByteArray();
        if (raw.size() != kErrorEntrySize)
            throw Error(ErrorKind::Damaged, damagedText(m_path));
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
                                          "SUM(ROUND(e.cost, 1)), COUNT(e.cost) FROM journal_entries e "
                                          "WHERE e.car_id = ? AND e.kind = 0 AND e.year_uncertain = 0%1 "
                                          "GROUP BY e.year, e.month ORDER BY e.year, e.month")
                               .arg(within),
                           values);
    if (!q.exec())
        fail(q.lastError(), false);
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
        m.metres = q.value(3).toULongLong();
        m.fuel = q.value(4).toULongLong();
        if (q.value(6).toInt() > 0)
            m.cost = q.value(5).toDouble();
        months << m;
    }
    return months;
}

} // namespace mk
