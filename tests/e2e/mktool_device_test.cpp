// SPDX-License-Identifier: GPL-3.0-or-later
// mktool identify / read / write against mksim, both as separate programs.

#include "base/FileIo.h"
#include "image/DeviceRecorded.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/ExchangeTexts.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

QByteArray fileBytes(const QString &path) { return readWholeFile(path, kMaxSettingsFileSize); }

// The line a write names its backup by.
const QByteArray kBackupLine = QStringLiteral("Копия памяти МК: ").toUtf8();

TEST(MktoolDevice, ReadGivesTheSimulatedMemoryAndAnEditedWriteReachesItExactly)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    {
        MksimProcess sim({QStringLiteral("--address"), QStringLiteral("FE"), QStringLiteral("--model"),
                          QStringLiteral("0x8002"), QStringLiteral("--save"), path("dev.tcset")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        const ToolRun id =
            mktool({QStringLiteral("identify"), QStringLiteral("--port"), sim.path(), QStringLiteral("--json")});
        EXPECT_EQ(id.code, 0) << id.err.constData();
        EXPECT_TRUE(id.out.contains("\"model_code\": 32770")) << id.out.constData();
        // mktool says what it does, not the window's caption for a device it has not reached yet.
        EXPECT_TRUE(id.err.contains(QStringLiteral("Подключение к МК на порту %1...").arg(sim.path()).toUtf8()))
            << id.err.constData();
        EXPECT_FALSE(id.err.contains(kConnectingText.toUtf8())) << id.err.constData();
        const ToolRun read = mktool(
            {QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"), path("got.tcset")});
        EXPECT_EQ(read.code, 0) << read.err.constData();
        ASSERT_EQ(sim.stop(), 0);
    }
    EXPECT_EQ(fileBytes(path("got.tcset")), fileBytes(path("dev.tcset")));

    TMK model;
    loadSettingsFile(model, path("got.tcset"));
    model.record(2).setU16(0, 777);
    model.record(5).setU8(3, 9);
    model.encodeAll();
    saveSettingsFile(model, path("edited.tcset"));

    MksimProcess sim({QStringLiteral("--address"), QStringLiteral("FE"), QStringLiteral("--image"), path("got.tcset"),
                      QStringLiteral("--save"), path("after.tcset")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const ToolRun write = mktool({QStringLiteral("write"), path("edited.tcset"), QStringLiteral("--port"), sim.path(),
                                  QStringLiteral("--backup-dir"), path("backups")});
    EXPECT_EQ(write.code, 0) << write.err.constData();
    const QList<QByteArray> lines = write.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(kBackupLine));
    EXPECT_EQ(QString::fromUtf8(lines[1]), kWrittenText);
    ASSERT_EQ(sim.stop(), 0);
    EXPECT_EQ(fileBytes(path("after.tcset")), fileBytes(path("edited.tcset")));
    EXPECT_EQ(fileBytes(QString::fromUtf8(lines[0].mid(kBackupLine.size()))), fileBytes(path("got.tcset")));
}

// Ctrl-C, kill and a closed terminal while the sections are written: the write goes on to its
// verified end, the backup named before the first section went out.
TEST(MktoolDevice, AStopSignalDuringTheSectionWritesLetsTheWriteFinish)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    TMK model;
    model.replaceImage(0x0101, makeFactoryImage(0x0101, 1));
    saveSettingsFile(model, path("dev.tcset"));
    model.record(5).setU8(3, 9);
    model.encodeAll();
    saveSettingsFile(model, path("edited.tcset"));
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        // At the line's real rate, so that the write lasts long enough to be interrupted.
        MksimProcess sim({QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--image"),
                          path("dev.tcset"), QStringLiteral("--line-rate"), QStringLiteral("115200"),
                          QStringLiteral("--save"), path("after.tcset")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        QProcess tool;
        tool.start(mktoolPath(), {QStringLiteral("write"), path("edited.tcset"), QStringLiteral("--port"), sim.path(),
                                  QStringLiteral("--backup-dir"), path("backups")});
        QByteArray out;
        while (!out.contains(kBackupLine) && tool.waitForReadyRead(30000))
            out += tool.readAllStandardOutput();
        ASSERT_TRUE(out.contains(kBackupLine)) << tool.readAllStandardError().constData();
        QThread::msleep(150); // into the section writes
        ::kill(pid_t(tool.processId()), signal);
        ASSERT_TRUE(tool.waitForFinished(30000));
        out += tool.readAllStandardOutput();
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
        EXPECT_TRUE(QString::fromUtf8(out).contains(kWrittenText)) << out.constData();
        ASSERT_EQ(sim.stop(), 0);
        EXPECT_EQ(fileBytes(path("after.tcset")), fileBytes(path("edited.tcset")));
    }
}

TEST(MktoolDevice, MismatchSilenceAndBadPortFailWithAMessage)
{
    QTemporaryDir dir;
    MksimProcess sim({QStringLiteral("--model"), QStringLiteral("0x0101")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const QString other = dir.filePath(QStringLiteral("other.tcset"));
    ASSERT_EQ(mktool({QStringLiteral("new"), QStringLiteral("--model"), QStringLiteral("0x0202"),
                      QStringLiteral("--version"), QStringLiteral("0"), QStringLiteral("-o"), other})
                  .code,
              0);
    const ToolRun mismatch = mktool({QStringLiteral("write"), other, QStringLiteral("--port"), sim.path(),
                                     QStringLiteral("--backup-dir"), dir.filePath(QStringLiteral("b"))});
    EXPECT_EQ(mismatch.code, 1);
    EXPECT_TRUE(QString::fromUtf8(mismatch.err).contains(kModelMismatchText)) << mismatch.err.constData();

    MksimProcess mute({QStringLiteral("--fault"), QStringLiteral("silence:1")});
    const ToolRun silent = mktool({QStringLiteral("identify"), QStringLiteral("--port"), mute.path(),
                                   QStringLiteral("--wait"), QStringLiteral("1")});
    EXPECT_EQ(silent.code, 1);
    EXPECT_TRUE(QString::fromUtf8(silent.err).contains(QStringLiteral("МК не ответил"))) << silent.err.constData();

    const ToolRun noPort =
        mktool({QStringLiteral("identify"), QStringLiteral("--port"), QStringLiteral("/dev/nonexistent-tty")});
    EXPECT_EQ(noPort.code, 1);
    // A node with no number of its own is named by its path alone.
    EXPECT_TRUE(QString::fromUtf8(noPort.err).contains(QStringLiteral("Порт /dev/nonexistent-tty не найден.")))
        << noPort.err.constData();
    EXPECT_FALSE(noPort.err.contains("COM")) << noPort.err.constData();
    EXPECT_EQ(mktool({QStringLiteral("read"), QStringLiteral("--port"), sim.path()}).code, 2);
}

// --port NAME --wait: the name appears once the device is plugged in (here a link made to mksim's
// line a moment later); without --wait, or when the time is up, the missing port is an error.
TEST(MktoolDevice, APortNamedByPathIsWaitedForWithWait)
{
    QTemporaryDir dir;
    MksimProcess sim({QStringLiteral("--model"), QStringLiteral("0x0101")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const QString name = dir.filePath(QStringLiteral("mk-0"));

    const ToolRun late = mktool(
        {QStringLiteral("identify"), QStringLiteral("--port"), name, QStringLiteral("--wait"), QStringLiteral("1")});
    EXPECT_EQ(late.code, 1);
    EXPECT_TRUE(QString::fromUtf8(late.err).contains(QStringLiteral("Порт %1 не найден.").arg(name)))
        << late.err.constData();

    QProcess tool;
    tool.start(mktoolPath(), {QStringLiteral("identify"), QStringLiteral("--port"), name, QStringLiteral("--wait"),
                              QStringLiteral("30")});
    ASSERT_TRUE(tool.waitForStarted());
    QThread::msleep(800);
    EXPECT_EQ(tool.state(), QProcess::Running);
    ASSERT_TRUE(QFile::link(sim.path(), name));
    ASSERT_TRUE(tool.waitForFinished(20000));
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_EQ(tool.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Жду, пока он появится"))) << err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardOutput()).contains(name));
}

TEST(MktoolDevice, ADuplicateAndALostAnswerOnAPacedLineNeverGiveAWrongRead)
{
    // A duplicated answer puts the answers out of step and a lost one puts them back: every read
    // that exits 0 holds mksim's memory exactly, whatever the seed and the way bytes arrive.
    QTemporaryDir dir;
    int exact = 0;
    const std::pair<const char *, int> runs[] = {{"byte", 2}, {"byte", 5}, {"packet", 2}, {"chunk:1000", 2}};
    for (const auto &[delivery, seed] : runs) {
        SCOPED_TRACE(QStringLiteral("%1, seed %2").arg(QLatin1String(delivery)).arg(seed).toStdString());
        const QString saved = dir.filePath(QStringLiteral("dev%1%2.tcset").arg(QLatin1String(delivery)).arg(seed));
        const QString got = dir.filePath(QStringLiteral("got.tcset"));
        QFile::remove(got);
        ToolRun read;
        {
            MksimProcess sim({QStringLiteral("--line-rate"), QStringLiteral("115200"), QStringLiteral("--delivery"),
                              QLatin1String(delivery), QStringLiteral("--fault"),
                              QStringLiteral("duplicate:0.01,silence:0.01"), QStringLiteral("--seed"),
                              QString::number(seed), QStringLiteral("--save"), saved});
            ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
            read = mktool({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"), got});
            ASSERT_EQ(sim.stop(), 0);
        }
        if (read.code != 0) {
            EXPECT_EQ(read.code, 1) << read.err.constData();
            continue;
        }
        EXPECT_EQ(fileBytes(got), fileBytes(saved));
        ++exact;
    }
    // Under load a read may fail on its time-outs; what matters is that none succeeds wrongly.
    EXPECT_GE(exact, 1);
}

// A counter the device keeps, set in a file: a write names it with both values and keeps the
// device's unless told to take the file's; a dry run never calls such a file "the same".
TEST(MktoolDevice, ACounterSetInAFileIsNamedAndWrittenOnlyWhenTaken)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    MksimProcess sim({QStringLiteral("--save"), path("after.tcset")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const QStringList port = {QStringLiteral("--port"), sim.path(), QStringLiteral("--backup-dir"), path("backups")};
    ASSERT_EQ(
        mktool({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"), path("f.tcset")})
            .code,
        0);
    ASSERT_EQ(mktool({QStringLiteral("set"), path("f.tcset"), QStringLiteral("EngOilCntK=10"), QStringLiteral("-o"),
                      path("g.tcset")})
                  .code,
              0);
    const QString line = QStringLiteral("Счётчик ТО «Замена масла ДВС» (EngOilCntK): в МК 15, в настройках 10 - ");
    const ToolRun dry =
        mktool(QStringList{QStringLiteral("write"), path("g.tcset"), QStringLiteral("--dry-run")} + port);
    EXPECT_EQ(dry.code, 0) << dry.err.constData();
    EXPECT_TRUE(QString::fromUtf8(dry.out).contains(line + QStringLiteral("остаётся как в МК"))) << dry.out.constData();
    EXPECT_FALSE(dry.out.contains("уже такие же")) << dry.out.constData();

    const ToolRun kept = mktool(QStringList{QStringLiteral("write"), path("g.tcset")} + port);
    EXPECT_EQ(kept.code, 0) << kept.err.constData();
    EXPECT_TRUE(QString::fromUtf8(kept.out).contains(line + QStringLiteral("остаётся как в МК")))
        << kept.out.constData();
    const ToolRun taken = mktool(
        QStringList{QStringLiteral("write"), path("g.tcset"), QStringLiteral("--take"), QStringLiteral("EngOilCntK")} +
        port);
    EXPECT_EQ(taken.code, 0) << taken.err.constData();
    EXPECT_TRUE(QString::fromUtf8(taken.out).contains(line + QStringLiteral("записывается из настроек")))
        << taken.out.constData();
    EXPECT_TRUE(QString::fromUtf8(taken.out).contains(kWrittenText));
    ASSERT_EQ(sim.stop(), 0);
    TMK after;
    loadSettingsFile(after, path("after.tcset"));
    EXPECT_EQ(after.record(kServiceSection).u8(5), 10);
}

// mksim's device quirks through the whole tool: a trip the device records at the first section
// write is kept and said; a chunk it stores wrong (its byte sum intact) fails the write.
TEST(MktoolDevice, ATripRecordedMeanwhileIsKeptAndAChunkStoredWrongFails)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    TMK model;
    model.replaceImage(1, makeFactoryImage(1, 0));
    model.record(kLimitsSection).setU8(0, 77);
    model.encodeAll();
    saveSettingsFile(model, path("edited.tcset"));
    {
        MksimProcess sim({QStringLiteral("--record-at-write"), QStringLiteral("--save"), path("after.tcset")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        const ToolRun write = mktool({QStringLiteral("write"), path("edited.tcset"), QStringLiteral("--port"),
                                      sim.path(), QStringLiteral("--backup-dir"), path("backups")});
        EXPECT_EQ(write.code, 0) << write.err.constData();
        EXPECT_TRUE(write.out.contains("МК пополнил журналы")) << write.out.constData();
        ASSERT_EQ(sim.stop(), 0);
    }
    TMK after;
    loadSettingsFile(after, path("after.tcset"));
    EXPECT_EQ(after.record(kLimitsSection).u8(0), 77);
    EXPECT_EQ(after.record(kTripsSection).u8(kTripJournalOffset + 2), 9) << "the trip recorded meanwhile stays";

    MksimProcess sim({QStringLiteral("--store-wrong-chunk"), QStringLiteral("1")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const ToolRun wrong = mktool({QStringLiteral("write"), path("edited.tcset"), QStringLiteral("--port"), sim.path(),
                                  QStringLiteral("--backup-dir"), path("backups")});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(QString::fromUtf8(wrong.err).contains(QStringLiteral("Проверка записи не прошла")))
        << wrong.err.constData();
    EXPECT_FALSE(wrong.out.contains("Настройки записаны")) << wrong.out.constData();
}

} // namespace
} // namespace mk::test
