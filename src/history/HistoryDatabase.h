// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trip history of a user: every trip, refuelling and error entry read from the device or a
// file, kept per car across reads in a SQLite database.

#include "journals/JournalData.h"
#include "journals/JournalQuantities.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <optional>

namespace mk {

class TMK;

// Where an entry's date stands: the year is uncertain when the date exists in no year the
// entry could have been recorded in.
struct HistoryMoment
{
    int year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint16 minutes = 0;
    bool yearUncertain = false;
};

struct HistoryJournalEntry
{
    HistoryMoment moment;
    JournalEntry entry;
    std::optional<double> cost; // none when the read had no prices
    QString source;
};

struct HistoryErrorEntry
{
    HistoryMoment moment;
    ErrorEntry entry;
    QString codeText;     // as the protocol of the read writes it
    QByteArray supported; // the freeze frame's supported-values bitmap at the read
    QString source;
};

// One calendar month of trips.
struct MonthTotals
{
    int year = 0;
    int month = 0;
    int trips = 0;
    quint64 metres = 0;
    quint64 fuel = 0;           // millilitres of both fuels
    std::optional<double> cost; // none when no trip of the month has a cost
    // As the journal quantities take them (journals/JournalQuantities.h).
    JournalAmounts amounts() const { return {0, metres, 0, fuel, 0, cost}; }
};

// The days listed, both included; a missing bound leaves that side open. A bounded period leaves
// out the entries whose year is uncertain.
struct HistoryPeriod
{
    QDate from;
    QDate to;
    bool bounded() const { return from.isValid() || to.isValid(); }
};

struct HistoryAddResult
{
    int trips = 0;
    int refuellings = 0;
    int errors = 0;
    int uncertain = 0; // of those added, entries whose year is uncertain
    bool none() const { return trips == 0 && refuellings == 0 && errors == 0; }
};

class HistoryDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };

    // Opens the database, creating it (and its folder) when missing in ReadWrite, migrating an
    // older version. A file that is not a history database (an empty one included) or is damaged
    // is refused with Error and left as it was; ReadOnly refuses a missing file. A database
    // another program is writing is waited for a few seconds, then reported as busy; one whose
    // last write was interrupted is recovered by SQLite on opening.
    explicit HistoryDatabase(const QString &path, Access access = Access::ReadWrite);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // ~/.local/share/mkconf/history.sqlite
    static QString defaultPath();
    static QString defaultCarName();
    // Loads Qt's SQLite driver on the calling thread; called on the main thread before a worker
    // thread opens a database. A MinGW program whose driver plugin was first loaded by a worker
    // never ends: it stops in the C++ runtime's unloading at exit.
    static void loadDriver();

    const QString &path() const { return m_path; }

    QStringList cars() const;
    bool hasCar(const QString &name) const;
    // A new name with a control character (line break, tab ...) is refused (carNameProblem()).
    void renameCar(const QString &name, const QString &newName);
    // Removes the car and all its entries.
    void deleteCar(const QString &name);

    // Adds the journals of the image (sections 6, 10 and 12 decoded) to the car, creating it when
    // missing (its name checked as in renameCar()). Entries already held are skipped; one transaction.
    HistoryAddResult addJournals(const QString &car, const TMK &tmk, const QDateTime &readTime, const QString &source);

    // Latest first. Error for a car that is not held.
    QList<HistoryJournalEntry> journal(const QString &car, JournalKind kind, const HistoryPeriod &period = {}) const;
    QList<HistoryErrorEntry> errors(const QString &car, const HistoryPeriod &period = {}) const;
    // Every month from the first trip to the last, months without trips included; entries
    // with an uncertain year are left out.
    QList<MonthTotals> monthlyTotals(const QString &car, const HistoryPeriod &period = {}) const;

private:
    void connect(const QString &file, const char *mode);
    void disconnect();
    // Whether the new database was put at its name (false: another program put one there first).
    bool createNew();
    HistoryAddResult addJournalsOnce(const QString &car, const TMK &tmk, const QDateTime &readTime,
                                     const QString &source);
    void open(Access access);
    void checkFile() const;
    void checkSchema(bool writable);
    int storedVersion() const;
    void migrate();
    std::optional<qint64> findCar(const QString &name) const;
    qint64 carId(const QString &name) const;
    qint64 ensureCar(const QString &name);
    // Throws the error of a failed statement in the user's words: busy, damaged, full disk ...
    [[noreturn]] void fail(const QSqlError &error, bool writing) const;

    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
    bool m_creating = false; // a new database is being made under its hidden name
    // This object made the database and nothing was added to it yet: a failed first add removes
    // it, so that the user's folder is as it was.
    bool m_newAndEmpty = false;
    mutable bool m_writeFailed = false; // a statement that writes failed (full disk, no rights ...)
};

} // namespace mk
