// SPDX-License-Identifier: GPL-3.0-or-later
// The history database among other programs and failures: busy, interrupted, empty, on a full
// disk, created by two programs at once; and car names that would break a listing.

#include "base/Error.h"
#include "history/CarNames.h"
#include "history/HistoryDatabase.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "support/ErrorText.h"
#include "support/MktoolRun.h"
#include "support/RawFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace mk;
using mk::test::errorTextOf;

namespace {

const QDateTime kRead(QDate(2026, 12, 8), QTime(12, 0));

TMK factory()
{
    TMK tmk;
    tmk.replaceImage(1, makeFactoryImage(1, 1));
    return tmk;
}

class HistorySafety : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name = "history.sqlite") const { return dir.filePath(QString::fromLatin1(name)); }
    QString settingsFile()
    {
        TMK tmk = factory();
        saveSettingsFile(tmk, dir.filePath(QStringLiteral("car.tcset")));
        return dir.filePath(QStringLiteral("car.tcset"));
    }
    QTemporaryDir dir;
};

} // namespace

// A database another program has locked is waited for; still locked after a few seconds, it is
// said to be busy (by name), never damaged, and is left as it was.
TEST_F(HistorySafety, ABusyDatabaseIsWaitedForThenCalledBusy)
{
    {
        HistoryDatabase db(path());
        db.addJournals(QStringLiteral("Нива"), factory(), kRead, QStringLiteral("x"));
    }
    const QByteArray before = readRaw(path());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path());
        ASSERT_TRUE(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QElapsedTimer clock;
        clock.start();
        const QString message = errorTextOf([&] {
            HistoryDatabase db(path());
            db.addJournals(QStringLiteral("Лада"), factory(), kRead, QStringLiteral("x"));
        });
        EXPECT_GE(clock.elapsed(), 3000);
        EXPECT_TRUE(message.contains(QStringLiteral("занята другой программой")) && message.contains(path()))
            << message.toStdString();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    EXPECT_EQ(readRaw(path()), before);
}

// An add interrupted half-way leaves a journal beside the database: the next reader, even a
// read-only listing, has SQLite roll it back and finds the history as it was before that add.
TEST_F(HistorySafety, AnInterruptedAddIsRecoveredNotCalledDamaged)
{
    {
        HistoryDatabase db(path());
        db.addJournals(QStringLiteral("Нива"), factory(), kRead, QStringLiteral("x"));
    }
    const QString copy = path("copy.sqlite");
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path());
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        // A tiny cache makes SQLite write changed pages into the database before the commit.
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA cache_size = 1")));
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN")));
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO sources (car_id, added_at, read_at, description) "
                                              "VALUES (1, 'a', 'b', hex(randomblob(2000)))")));
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE cars SET name = 'changed'")));
        ASSERT_GT(QFileInfo(path() + QStringLiteral("-journal")).size(), 0);
        // What a crash at this moment leaves on the disk.
        ASSERT_TRUE(QFile::copy(path(), copy));
        ASSERT_TRUE(QFile::copy(path() + QStringLiteral("-journal"), copy + QStringLiteral("-journal")));
        q.exec(QStringLiteral("ROLLBACK"));
        EXPECT_NE(readRaw(copy), readRaw(path())); // the interrupted add had written into the database
        q = QSqlQuery();
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));

    const ToolRun cars = mktool({QStringLiteral("history"), QStringLiteral("cars"), QStringLiteral("--db"), copy});
    EXPECT_EQ(cars.code, 0) << cars.err.constData();
    EXPECT_EQ(QString::fromUtf8(cars.out), QStringLiteral("Нива\n"));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral("-journal")));
    const HistoryDatabase db(copy, HistoryDatabase::Access::ReadOnly);
    EXPECT_EQ(db.journal(QStringLiteral("Нива"), JournalKind::Trip).size(), 8);
}

// A full disk is named as such; a database that did not exist before leaves no file behind, one
// that did stays byte for byte. The disk is a small tmpfs in a mount namespace of the test's own.
TEST_F(HistorySafety, AFullDiskIsNamedAndLeavesNoFileBehind)
{
    const QString old = path("old.sqlite");
    {
        HistoryDatabase db(old);
    }
    const qint64 room = (QFileInfo(old).size() + 4095) / 4096 * 4096 + 4096;
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(disk));
    const QString script = QStringLiteral("mount -t tmpfs -o size=%1 none \"$1\" 2>/dev/null || exit 77\n"
                                          "cp \"$2\" \"$1/old.sqlite\"\n"
                                          "\"$3\" history add \"$4\" --db \"$1/new.sqlite\"; echo \"new=$?\"\n"
                                          "\"$3\" history add \"$4\" --db \"$1/old.sqlite\"; echo \"old=$?\"\n"
                                          "cmp -s \"$2\" \"$1/old.sqlite\" && echo same\n"
                                          "ls -A \"$1\"\n")
                               .arg(room);
    QProcess run;
    run.start(QStringLiteral("unshare"),
              {QStringLiteral("-Urm"), QStringLiteral("sh"), QStringLiteral("-c"), script, QStringLiteral("sh"), disk,
               old, QStringLiteral(MK_BIN_DIR "/mktool"), settingsFile()});
    ASSERT_TRUE(run.waitForFinished(60000));
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        GTEST_SKIP() << "no mount namespace here: " << run.readAllStandardError().constData();
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    const QString err = QString::fromUtf8(run.readAllStandardError());
    EXPECT_EQ(out, QStringLiteral("new=1\nold=1\nsame\nold.sqlite\n")) << out.toStdString() << err.toStdString();
    EXPECT_EQ(err.count(QStringLiteral("на диске нет свободного места")), 2) << err.toStdString();
}

// Two programs adding to a database that does not exist yet: both succeed, the entries are held
// once.
TEST_F(HistorySafety, TwoFirstAddsAtOnceBothLand)
{
    const QString file = settingsFile();
    for (int round = 0; round < 6; ++round) {
        const QString db = path(qPrintable(QStringLiteral("r%1.sqlite").arg(round)));
        QProcess a, b;
        for (QProcess *p : {&a, &b})
            p->start(QStringLiteral(MK_BIN_DIR "/mktool"),
                     {QStringLiteral("history"), QStringLiteral("add"), file, QStringLiteral("--db"), db});
        QString said;
        for (QProcess *p : {&a, &b}) {
            ASSERT_TRUE(p->waitForFinished(30000));
            EXPECT_EQ(p->exitCode(), 0) << round << p->readAllStandardError().constData();
            said += QString::fromUtf8(p->readAllStandardOutput());
        }
        EXPECT_TRUE(said.contains(QStringLiteral("поездок 8")) && said.contains(QStringLiteral("поездок 0")))
            << said.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral(".r*")}, QDir::Hidden | QDir::Files), QStringList());
    }
}

// A car name takes no control character: refused by the database and by mktool, cleaned by what
// the dialogs take, and a name held from elsewhere is listed on one line.
TEST_F(HistorySafety, CarNamesHoldNoControlCharacters)
{
    const struct
    {
        QString typed, cleaned, shown;
    } names[] = {
        {QStringLiteral("  Нива\r\n4x4\t"), QStringLiteral("Нива 4x4"), QStringLiteral("  Нива\\r\\n4x4\\t")},
        {QStringLiteral("a\x1b[2Jb"), QStringLiteral("a [2Jb"), QStringLiteral("a\\u001b[2Jb")},
        {QStringLiteral("X") + QChar(0x85) + QChar(0x2028) + QStringLiteral("Y"), QStringLiteral("X Y"),
         QStringLiteral("X\\u0085\\u2028Y")},
        {QStringLiteral("Лада"), QStringLiteral("Лада"), QStringLiteral("Лада")},
    };
    HistoryDatabase db(path());
    for (const auto &n : names) {
        EXPECT_EQ(cleanCarName(n.typed), n.cleaned);
        EXPECT_EQ(printableCarName(n.typed), n.shown);
        EXPECT_EQ(carNameProblem(n.typed).isEmpty(), n.typed == n.cleaned);
        const QString message = errorTextOf([&] { db.addJournals(n.typed, factory(), kRead, QStringLiteral("x")); });
        EXPECT_EQ(message.contains(QStringLiteral("управляющий символ")), n.typed != n.cleaned)
            << message.toStdString();
    }
    EXPECT_EQ(db.cars(), QStringList{QStringLiteral("Лада")});
    EXPECT_TRUE(errorTextOf([&] {
                    db.renameCar(QStringLiteral("Лада"), QStringLiteral("Ла\nда"));
                }).contains(QStringLiteral("управляющий символ")));

    const ToolRun refused =
        mktool({QStringLiteral("history"), QStringLiteral("add"), settingsFile(), QStringLiteral("--car"),
                QStringLiteral("A\nB"), QStringLiteral("--db"), path("new.sqlite")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("управляющий символ")));
    EXPECT_FALSE(QFileInfo::exists(path("new.sqlite")));

    // Held from elsewhere: still usable by its name, listed on one line.
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(path());
        ASSERT_TRUE(raw.open() && QSqlQuery(raw).exec(
                                      QStringLiteral("INSERT INTO cars (name) VALUES ('old' || char(10) || 'name')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    EXPECT_EQ(db.addJournals(QStringLiteral("old\nname"), factory(), kRead, QStringLiteral("x")).trips, 8);
    const ToolRun cars = mktool({QStringLiteral("history"), QStringLiteral("cars"), QStringLiteral("--db"), path()});
    EXPECT_EQ(QString::fromUtf8(cars.out), QStringLiteral("Лада\nold\\nname\n"));
}

// A FIFO, a folder or a link at the database's name is refused at once, never waited on or replaced.
TEST_F(HistorySafety, NonRegularFilesAreRefused)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.sqlite")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(path("folder.sqlite")));
    ASSERT_TRUE(QFile::link(path("elsewhere.sqlite"), path("link.sqlite")));
    for (const char *name : {"fifo.sqlite", "folder.sqlite", "link.sqlite"}) {
        EXPECT_THROW(HistoryDatabase db(path(name)), Error) << name;
        const ToolRun run =
            mktool({QStringLiteral("history"), QStringLiteral("cars"), QStringLiteral("--db"), path(name)});
        EXPECT_EQ(run.code, 1) << name;
    }
    EXPECT_TRUE(QFileInfo(path("folder.sqlite")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("elsewhere.sqlite"))); // nothing made through the link
}
