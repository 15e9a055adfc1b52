// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "history/HistoryCsv.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryDates.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mk;

namespace {

QDateTime at(const char *iso) { return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate); }

JournalEntry trip(int month, int day, int minutes, quint32 metres, quint32 fuel1 = 0, quint32 seconds = 600)
{
    JournalEntry e;
    e.month = quint8(month);
    e.day = quint8(day);
    e.minutes = quint16(minutes);
    e.metres = metres;
    e.fuel1 = fuel1;
    e.seconds = seconds;
    return e;
}

TMK factory()
{
    TMK tmk;
    tmk.replaceImage(1, makeFactoryImage(1, 1));
    return tmk;
}

// The factory image with the trip journal replaced by these entries, latest first.
TMK withTrips(const QList<JournalEntry> &trips)
{
    TMK tmk = factory();
    clearJournal(tmk.record(6), JournalKind::Trip);
    for (int i = 0; i < trips.size(); ++i)
        setJournalEntry(tmk.record(6), JournalKind::Trip, i, trips[i]);
    return tmk;
}

QStringList dates(const QList<HistoryJournalEntry> &entries)
{
    QStringList d;
    for (const HistoryJournalEntry &e : entries)
        d << historyMoment(e.moment);
    return d;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class History : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name = "history.sqlite") const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST(HistoryDates, YearsFollowTheReadAndTheJournalsOrder)
{
    struct Case
    {
        const char *read;
        QList<YearlessMoment> moments;
        QList<std::pair<int, bool>> years;
    };
    const QList<Case> cases = {
        {"2025-12-20T23:59", {{12, 6, 1065}}, {{2025, false}}},
        {"2026-01-15T08:00", {{1, 10, 600}, {12, 6, 1065}}, {{2026, false}, {2025, false}}},
        // Later the same day than the read: the year before.
        {"2025-12-06T10:00", {{12, 6, 1065}, {12, 6, 500}}, {{2024, false}, {2024, false}}},
        // A journal spanning more than a year keeps its order.
        {"2025-12-20T12:00",
         {{12, 1, 0}, {10, 3, 0}, {1, 10, 0}, {11, 20, 0}, {8, 1, 0}},
         {{2025, false}, {2025, false}, {2025, false}, {2024, false}, {2024, false}}},
        // 29 February in the latest leap year, and the older entries placed after it.
        {"2025-03-10T12:00", {{2, 29, 0}, {1, 15, 600}, {1, 15, 700}}, {{2024, false}, {2024, false}, {2023, false}}},
        {"2024-03-10T12:00", {{2, 29, 0}}, {{2024, false}}},
        // Impossible dates are kept uncertain and do not move the bound for older entries.
        {"2025-12-20T12:00",
         {{2, 30, 0}, {13, 1, 0}, {0, 5, 0}, {4, 31, 0}, {5, 5, 24 * 60}, {12, 1, 0}},
         {{2025, true}, {2024, true}, {2025, true}, {2025, true}, {2025, true}, {2025, false}}},
    };
    for (const Case &c : cases) {
        const QList<PlacedYear> placed = placeYears(c.moments, at(c.read));
        ASSERT_EQ(placed.size(), c.years.size()) << c.read;
        for (int i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].year, c.years[i].first) << c.read << " entry " << i;
            EXPECT_EQ(placed[i].uncertain, c.years[i].second) << c.read << " entry " << i;
        }
    }
}

// Each read: the trip journal (latest first) and the read's time; then the dates held.
TEST_F(History, OverlappingReadsAddEachTripOnce)
{
    QList<JournalEntry> full;
    for (int i = 0; i < kJournalEntryCount; ++i)
        full << trip(12, 25 - i, 600, 1000 + quint32(i));
    QList<JournalEntry> shifted;
    for (int i = 0; i < 5; ++i)
        shifted << trip(12, 30 - i, 700, 5000 + quint32(i));
    shifted += full.mid(0, kJournalEntryCount - 5);
    struct Read
    {
        QList<JournalEntry> trips;
        const char *when;
    };
    struct Case
    {
        const char *name;
        QList<Read> reads;
        int held;
        QStringList latest; // the first dates held
    };
    const JournalEntry dec = trip(12, 28, 1000, 7000), jan = trip(1, 3, 540, 8000), jan2 = trip(1, 9, 540, 9000);
    const QList<Case> cases = {
        {"the same read twice", {{{dec}, "2025-12-30T10:00"}, {{dec}, "2025-12-30T10:00"}}, 1, {"2025-12-28T16:40"}},
        {"shifted journal", {{full, "2025-12-26T10:00"}, {shifted, "2025-12-31T10:00"}}, 26, {"2025-12-30T11:40"}},
        {"across a new year",
         {{{dec}, "2025-12-30T10:00"}, {{jan2, jan, dec}, "2026-01-10T10:00"}},
         3,
         {"2026-01-09T09:00", "2026-01-03T09:00", "2025-12-28T16:40"}},
        {"a later read a year on, the old trip still there",
         {{{dec}, "2025-12-30T10:00"}, {{dec}, "2026-12-30T10:00"}},
         1,
         {"2025-12-28T16:40"}},
        {"an emptied journal",
         {{{jan, dec}, "2026-01-05T10:00"}, {{}, "2026-01-06T10:00"}, {{jan2}, "2026-01-10T10:00"}},
         3,
         {"2026-01-09T09:00", "2026-01-03T09:00", "2025-12-28T16:40"}},
        {"identical trips in one read stay two",
         {{{dec, dec}, "2025-12-30T10:00"}, {{jan, dec, dec}, "2026-01-05T10:00"}, {{jan, dec}, "2026-01-06T10:00"}},
         3,
         {"2026-01-03T09:00", "2025-12-28T16:40", "2025-12-28T16:40"}},
    };
    for (const Case &c : cases) {
        const QString file = dir.filePath(QString::fromUtf8(c.name));
        HistoryDatabase db(file);
        for (const Read &r : c.reads)
            db.addJournals(QStringLiteral("Машина"), withTrips(r.trips), at(r.when), QStringLiteral("чтение"));
        const QStringList held = dates(db.journal(QStringLiteral("Машина"), JournalKind::Trip));
        EXPECT_EQ(held.size(), c.held) << c.name;
        EXPECT_EQ(held.mid(0, int(c.latest.size())), c.latest) << c.name;
    }
}

// Files that are not this program's history, or are damaged, are refused and left byte for byte.
TEST_F(History, ForeignAndDamagedFilesAreRefusedAndLeftAlone)
{
    QByteArray real;
    {
        HistoryDatabase db(path("real.sqlite"));
        db.addJournals(HistoryDatabase::defaultCarName(), factory(), at("2026-12-08T12:00"), QStringLiteral("x"));
    }
    real = readFile(path("real.sqlite"));
    ASSERT_GT(real.size(), 4096);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path("other.sqlite"));
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec(QStringLiteral("CREATE TABLE notes (text TEXT)"));
        QSqlQuery(other).exec(QStringLiteral("CREATE TABLE history_schema (application TEXT, version INTEGER)"));
        QSqlQuery(other).exec(QStringLiteral("INSERT INTO history_schema VALUES ('another program', 1)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    {
        HistoryDatabase db(path("newer.sqlite"));
    }
    {
        QSqlDatabase newer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        newer.setDatabaseName(path("newer.sqlite"));
        ASSERT_TRUE(newer.open());
        ASSERT_TRUE(QSqlQuery(newer).exec(QStringLiteral("UPDATE history_schema SET version = 99")));
        newer.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    QByteArray scrambled = real;
    for (int i = 1024; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5A);
    const QList<std::pair<const char *, QByteArray>> files = {
        {"text.sqlite", QByteArray("поездки, заправки\n1,2,3\n")},
        {"empty.sqlite", QByteArray()}, // SQLite would take it for a new database
        {"settings.sqlite", encodeSettingsFile(1, makeFactoryImage(1, 1))},
        {"other.sqlite", readFile(path("other.sqlite"))},
        {"newer.sqlite", readFile(path("newer.sqlite"))},
        {"cut.sqlite", real.left(2048)},
        {"scrambled.sqlite", scrambled},
    };
    for (const auto &[name, content] : files) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        for (auto access : {HistoryDatabase::Access::ReadWrite, HistoryDatabase::Access::ReadOnly}) {
            try {
                HistoryDatabase db(path(name), access);
                db.addJournals(QStringLiteral("Машина"), factory(), at("2026-12-08T12:00"), QStringLiteral("x"));
                ADD_FAILURE() << name << " was taken for a history database";
            } catch (const Error &e) {
                EXPECT_TRUE(e.text().contains(QStringLiteral("истории поездок"))) << name << e.what();
            }
            EXPECT_EQ(readFile(path(name)), content) << name;
        }
        const ToolRun run =
            mktool({QStringLiteral("history"), QStringLiteral("cars"), QStringLiteral("--db"), path(name)});
        EXPECT_EQ(run.code, 1) << name;
        EXPECT_EQ(readFile(path(name)), content) << name;
    }
}

// CSV: the journal CSV's columns with the full date, the cost as stored, the source last.
TEST_F(History, CsvRowsCarryFullDatesAndTheJournalsCells)
{
    HistoryDatabase db(path());
    const TMK tmk = factory();
    db.addJournals(QStringLiteral("Машина"), tmk, at("2027-01-02T09:00"), QStringLiteral("файл a.tcset"));
    const QList<QStringList> rows = historyJournalRows(db.journal(QStringLiteral("Машина"), JournalKind::Trip));
    const QList<QStringList> journal = journalCsvRows(tmk.record(6), JournalKind::Trip);
    ASSERT_EQ(rows.size(), journal.size());
    EXPECT_EQ(rows[0], journalCsvHeader() << QStringLiteral("Источник"));
    for (int i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].mid(0, 1) + rows[i].mid(2, 9), journal[i].mid(0, 1) + journal[i].mid(2)) << i;
        EXPECT_EQ(rows[i][1], QStringLiteral("2026-") + QString(journal[i][1]).replace(u' ', u'T')) << i;
        EXPECT_EQ(rows[i][11], QStringLiteral("файл a.tcset"));
    }
    EXPECT_EQ(rows[1].mid(0, 2), (QStringList{QStringLiteral("0"), QStringLiteral("2026-12-06T17:45")}));
    // The history window heads the columns as the journals window does.
    const QStringList shown = historyJournalRows({}, HistoryDateStyle::Shown).constFirst();
    const QStringList grid = journalGridRows(tmk.record(6), JournalKind::Trip).constFirst();
    EXPECT_EQ(shown.mid(0, 4), grid.mid(0, 4));
    for (const QString &caption : grid.mid(4))
        EXPECT_TRUE(shown.contains(caption)) << qPrintable(caption);
    EXPECT_EQ(historyErrorRows({}, HistoryDateStyle::Shown).constFirst().mid(0, 2),
              errorGridRows(tmk.record(12), 0, {}).constFirst().mid(0, 2));
    const QList<QStringList> errors = historyErrorRows(db.errors(QStringLiteral("Машина")));
    ASSERT_EQ(errors.size(), 5);
    EXPECT_EQ(errors[1], (QStringList{QStringLiteral("0"), QStringLiteral("2026-12-06T18:42"), QStringLiteral("0133"),
                                      QStringLiteral("307"), QStringLiteral("файл a.tcset")}));
}

// Hand-computed: November 2025 two trips, December none, January 2026 one; prices 10 per km path.
// A month's cost is the sum of its trips' costs as shown (100.0 + 20.0, not 120.08 → 120.1).
TEST_F(History, MonthlyTotalsAgainstHandComputedValues)
{
    HistoryDatabase db(path());
    TMK tmk = withTrips({trip(1, 5, 600, 50000, 4000), trip(11, 30, 600, 100040, 7000), trip(11, 2, 600, 20040, 2000),
                         trip(2, 30, 600, 1000, 100)});
    Record &s6 = tmk.record(6);
    s6.setU16(0, 0);  // per litre of fuel 1
    s6.setU16(2, 0);  // per hour
    s6.setU16(4, 10); // per km
    s6.setU16(6, 0);  // per litre of gas
    const HistoryAddResult r =
        db.addJournals(QStringLiteral("Машина"), tmk, at("2026-01-10T12:00"), QStringLiteral("x"));
    EXPECT_EQ(r.trips, 4);
    EXPECT_EQ(r.uncertain, 1);
    const QList<QStringList> rows = monthlyTotalsRows(db.monthlyTotals(QStringLiteral("Машина")));
    const QList<QStringList> expected = {
        {"Месяц", "Поездок", "Пробег, км", "Расход топлива, л", "Ср. расход на 100 км", "Стоимость"},
        {"2025-11", "2", "120.080", "9.000", "7.50", "120.0"},
        {"2025-12", "0", "0.000", "0.000", "", ""},
        {"2026-01", "1", "50.000", "4.000", "8.00", "50.0"},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], expected[i]) << i;
    // Without prices no cost is made up.
    HistoryDatabase unpriced(path("unpriced.sqlite"));
    TMK free = withTrips({trip(1, 5, 600, 50000, 4000)});
    for (int off : {0, 2, 4, 6})
        free.record(6).setU16(off, 0);
    unpriced.addJournals(QStringLiteral("Машина"), free, at("2026-01-10T12:00"), QStringLiteral("x"));
    EXPECT_FALSE(unpriced.monthlyTotals(QStringLiteral("Машина")).first().cost.has_value());
}

// Both days of a period are included; a bounded period leaves out the entry whose year is uncertain.
TEST_F(History, PeriodsKeepTheirDaysBothIncluded)
{
    HistoryDatabase db(path());
    const QString car = QStringLiteral("Машина");
    db.addJournals(
        car,
        withTrips({trip(1, 5, 600, 50000), trip(11, 30, 600, 100000), trip(11, 2, 600, 20000), trip(2, 30, 600, 1000)}),
        at("2026-01-10T12:00"), QStringLiteral("x"));
    const QDate none;
    const struct
    {
        QDate from, to;
        QStringList dates;
    } cases[] = {
        {none, none, {"2026-01-05T10:00", "2025-11-30T10:00", "2025-11-02T10:00", "02-30 10:00"}},
        {QDate(2025, 11, 30), none, {"2026-01-05T10:00", "2025-11-30T10:00"}},
        {none, QDate(2025, 11, 30), {"2025-11-30T10:00", "2025-11-02T10:00"}},
        {QDate(2025, 12, 1), QDate(2025, 12, 31), {}},
        {QDate(2026, 1, 5), QDate(2026, 1, 5), {"2026-01-05T10:00"}},
    };
    for (const auto &c : cases) {
        const HistoryPeriod period{c.from, c.to};
        EXPECT_EQ(dates(db.journal(car, JournalKind::Trip, period)), c.dates)
            << qPrintable(c.from.toString(Qt::ISODate) + QLatin1Char(' ') + c.to.toString(Qt::ISODate));
        int trips = 0;
        for (const MonthTotals &m : db.monthlyTotals(car, period))
            trips += m.trips;
        EXPECT_EQ(trips, int(c.dates.size()) - (period.bounded() ? 0 : 1))
            << qPrintable(c.from.toString(Qt::ISODate) + QLatin1Char(' ') + c.to.toString(Qt::ISODate));
    }
    const QList<HistoryErrorEntry> errors = db.errors(car, {QDate(2026, 1, 1), QDate(2026, 1, 1)});
    EXPECT_TRUE(errors.isEmpty());
}

// An add that fails part-way (here: the error journal's insert) leaves nothing of the read behind.
TEST_F(History, AFailedAddLeavesTheDatabaseAsItWas)
{
    {
        HistoryDatabase db(path());
    }
    const auto sql = [&](const QString &statement) {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path());
        ASSERT_TRUE(raw.open());
        ASSERT_TRUE(QSqlQuery(raw).exec(statement));
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    };
    sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON error_entries BEGIN SELECT RAISE(ABORT, 'x'); END"));
    {
        HistoryDatabase db(path());
        EXPECT_THROW(db.addJournals(QStringLiteral("Машина"), factory(), at("2026-12-08T12:00"), QStringLiteral("x")),
                     Error);
        EXPECT_TRUE(db.cars().isEmpty());
    }
    sql(QStringLiteral("DROP TRIGGER refuse"));
    HistoryDatabase db(path());
    const HistoryAddResult r =
        db.addJournals(QStringLiteral("Машина"), factory(), at("2026-12-08T12:00"), QStringLiteral("x"));
    EXPECT_EQ(r.trips, 8);
    EXPECT_EQ(r.errors, 4);
}

TEST_F(History, CarsRenamedAndDeleted)
{
    HistoryDatabase db(path());
    db.addJournals(QStringLiteral("Нива"), factory(), at("2026-12-08T12:00"), QStringLiteral("x"));
    db.addJournals(QStringLiteral("Лада"), factory(), at("2026-12-08T12:00"), QStringLiteral("x"));
    db.renameCar(QStringLiteral("Нива"), QStringLiteral("Нива 4x4"));
    EXPECT_THROW(db.renameCar(QStringLiteral("Лада"), QStringLiteral("Нива 4x4")), Error);
    EXPECT_EQ(db.journal(QStringLiteral("Нива 4x4"), JournalKind::Trip).size(), 8);
    db.deleteCar(QStringLiteral("Нива 4x4"));
    EXPECT_EQ(db.cars(), QStringList{QStringLiteral("Лада")});
    EXPECT_THROW(db.journal(QStringLiteral("Нива 4x4"), JournalKind::Trip), Error);
    EXPECT_EQ(db.journal(QStringLiteral("Лада"), JournalKind::Trip).size(), 8);
    EXPECT_EQ(db.errors(QStringLiteral("Лада")).size(), 4);
}

// A file with 8 trips, then a later read of the same device with 3 new trips: 11 trips, full dates.
TEST_F(History, ToolAddsALaterReadsNewTrips)
{
    const QString first = dir.filePath(QStringLiteral("first.tcset"));
    const QString later = dir.filePath(QStringLiteral("later.tcset"));
    TMK tmk = factory();
    saveSettingsFile(tmk, first);
    QList<JournalEntry> trips = {trip(1, 4, 480, 12000), trip(12, 30, 900, 30000), trip(12, 28, 1000, 7000)};
    for (int i = 0; i < 8; ++i)
        trips << journalEntry(tmk.record(6), JournalKind::Trip, i);
    tmk = withTrips(trips);
    tmk.encodeSection(6);
    saveSettingsFile(tmk, later);
    const QString db = path();
    const auto run = [&](const QStringList &args) {
        const ToolRun r =
            mktool(QStringList{QStringLiteral("history")} + args + QStringList{QStringLiteral("--db"), db});
        EXPECT_EQ(r.code, 0) << r.err.constData();
        return QString::fromUtf8(r.out);
    };
    {
        QFile f(first); // without --read-date the file's time is the read's
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0)), QFileDevice::FileModificationTime));
    }
    run({QStringLiteral("add"), first});
    EXPECT_TRUE(run({QStringLiteral("add"), later, QStringLiteral("--read-date=2027-01-05")})
                    .contains(QStringLiteral("добавлено поездок 3, заправок 0, ошибок 0")));
    const QStringList lines = run({QStringLiteral("show"), QStringLiteral("--trips"), QStringLiteral("--csv")})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 12);
    QStringList moments;
    for (const QString &line : lines.mid(1))
        moments << line.section(QLatin1Char(','), 1, 1);
    EXPECT_EQ(moments, (QStringList{"2027-01-04T08:00", "2026-12-30T15:00", "2026-12-28T16:40", "2026-12-06T17:45",
                                    "2026-12-06T08:15", "2026-12-05T18:50", "2026-12-05T07:50", "2026-12-04T13:20",
                                    "2026-12-03T09:05", "2026-12-01T19:30", "2026-12-01T08:00"}));
    const QString within =
        run({QStringLiteral("show"), QStringLiteral("--trips"), QStringLiteral("--csv"), QStringLiteral("--from"),
             QStringLiteral("2026-12-06"), QStringLiteral("--to"), QStringLiteral("2026-12-30")});
    EXPECT_EQ(within.count(QLatin1Char('\n')), 5) << qPrintable(within); // the header and 12-30 .. 12-06
    EXPECT_TRUE(within.contains(QStringLiteral("2026-12-30T15:00")));
    EXPECT_FALSE(within.contains(QStringLiteral("2027-01-04")));
    EXPECT_EQ(mktool({QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("--from"),
                      QStringLiteral("6.12.2026"), QStringLiteral("--db"), db})
                  .code,
              2);
    EXPECT_EQ(run({QStringLiteral("cars")}), HistoryDatabase::defaultCarName() + QLatin1Char('\n'));
    // A person reads dates as the windows show them, in aligned columns; programs get ISO in JSON.
    const QStringList table = run({QStringLiteral("show"), QStringLiteral("--trips")}).split(QLatin1Char('\n'));
    EXPECT_TRUE(table.value(1).contains(QStringLiteral("04.01.2027 08:00"))) << qPrintable(table.join('\n'));
    EXPECT_EQ(table.value(1).indexOf(QStringLiteral("04.01.2027")), table.value(2).indexOf(QStringLiteral("30.12.2026")));
    EXPECT_TRUE(run({QStringLiteral("show"), QStringLiteral("--trips"), QStringLiteral("--json")})
                    .contains(QStringLiteral("\"2027-01-04T08:00\"")));
    const ToolRun unknown = mktool({QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("--car"),
                                    QStringLiteral("Другой"), QStringLiteral("--db"), db});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(QString::fromUtf8(unknown.err), QStringLiteral("mktool: В истории нет автомобиля \"Другой\".\n"));
    // The only car is shown without --car, whatever its name.
    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    ASSERT_EQ(mktool({QStringLiteral("history"), QStringLiteral("add"), later, QStringLiteral("--car"),
                      QStringLiteral("Нива"), QStringLiteral("--db"), other})
                  .code,
              0);
    const ToolRun only = mktool({QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("--db"), other});
    EXPECT_EQ(only.code, 0) << only.err.constData();
    EXPECT_TRUE(only.out.contains("Журнал поездок"));
}
