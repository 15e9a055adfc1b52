// SPDX-License-Identifier: GPL-3.0-or-later
// Every save of mktool and mksim fails cleanly (the old file byte for byte, a failure exit, no
// success printed) when the disk fails at any step, and every command that reads a file refuses a
// FIFO or another non-regular file at once.

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "settings/TankFile.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"
#include "support/RawFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

ToolRun mktoolWith(const QStringList &args, const QString &fault, int timeoutMs = 30000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!fault.isEmpty())
        env.insert(QStringLiteral("MK_TEST_FILE_FAULT"), fault);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MK_BIN_DIR "/mktool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-2, {}, {}, {}};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError(), {}};
}

class FileSafety : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mktool({"new", "--model", "0x8002", "--version", "3", "-o", file}).code, 0);
        ASSERT_EQ(mktool({"profile", file, "-o", profile}).code, 0);
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("car.tcset");
    const QString profile = dir.filePath("p.json");
};

} // namespace

TEST_F(FileSafety, EverySaveKeepsTheOldFileWhenTheDiskFails)
{
    const QString out = dir.filePath("out");
    // Each command with its -o target last.
    const QList<QStringList> saves = {
        {"set", file, "AllPathStart=130000", "-o"},
        {"apply", profile, file, "-o"},
        {"new", "--model", "0x0101", "--version", "1", "-o"},
        {"profile", file, "-o"},
        {"journals", file, "--trip", "-o"},
        {"journals", file, "--trip", "--csv", "-o"},
        {"osc", file, "-o"},
        {"render", file, "--screen", "x4:1", "-o"},
    };
    for (const QStringList &save : saves) {
        ASSERT_EQ(mktool(save + QStringList{out}).code, 0) << save.join(' ').toStdString(); // it works at all
        for (const char *step : {"write", "flush", "fsync", "close"}) {
            for (const int error : {ENOSPC, EIO}) {
                ASSERT_TRUE(writeRaw(out, "the old file"));
                const ToolRun r = mktoolWith(save + QStringList{out}, QStringLiteral("%1:%2").arg(step).arg(error));
                const QString what = save.first() + QLatin1Char(' ') + QLatin1String(step);
                EXPECT_EQ(r.code, 1) << what.toStdString();
                EXPECT_EQ(readRaw(out), "the old file") << what.toStdString();
                EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("Прежний файл не изменён")))
                    << what.toStdString() << r.err.constData();
                EXPECT_FALSE(QString::fromUtf8(r.out).contains(QStringLiteral("Изменено"))) << what.toStdString();
            }
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".part")), QStringList());
    // Into a folder: the failure comes before any report of the changes.
    const ToolRun toFolder = mktool({"apply", profile, file, "-o", dir.path()});
    EXPECT_EQ(toFolder.code, 1);
    EXPECT_TRUE(toFolder.out.isEmpty()) << toFolder.out.constData();
    EXPECT_TRUE(QString::fromUtf8(toFolder.err).contains(QStringLiteral("это папка"))) << toFolder.err.constData();
}

// The configurator's own saves (settings file, tank file, backup) through the same writer.
TEST_F(FileSafety, TheConfiguratorsSavesKeepTheOldFile)
{
    mk::TMK model;
    model.replaceImage(0x8002, mk::makeFactoryImage(0x8002, 3));
    const QString out = dir.filePath("saved");
    const QString backups = dir.filePath("backups");
    const std::vector<std::function<void()>> saves = {
        [&] { mk::saveSettingsFile(model, out); },
        [&] { mk::saveTankFile(out, model); },
        [&] { mk::saveBackup(backups, 0x8002, model.image()); },
    };
    for (const auto &save : saves) {
        for (const mk::WriteStep step :
             {mk::WriteStep::Write, mk::WriteStep::Flush, mk::WriteStep::Fsync, mk::WriteStep::Close}) {
            ASSERT_TRUE(writeRaw(out, "the old file"));
            mk::injectWriteFault(step, ENOSPC);
            EXPECT_THROW(save(), mk::Error) << int(step);
            mk::injectWriteFault(mk::WriteStep::None, 0);
            EXPECT_EQ(readRaw(out), "the old file");
            EXPECT_TRUE(QDir(backups).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
        }
        EXPECT_NO_THROW(save());
    }
}

TEST_F(FileSafety, ReadFromTheDeviceAndMksimSaveFailCleanly)
{
    const QString out = dir.filePath("read.tcset"), saved = dir.filePath("saved.tcset");
    ASSERT_TRUE(writeRaw(out, "old read"));
    ASSERT_TRUE(writeRaw(saved, "old save"));
    qputenv("MK_TEST_FILE_FAULT", "fsync:28");
    mk::test::MksimProcess sim({"--image", file, "--save", saved});
    qunsetenv("MK_TEST_FILE_FAULT");
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const ToolRun r = mktoolWith({"read", "--port", sim.path(), "-o", out}, QStringLiteral("write:28"));
    EXPECT_EQ(r.code, 1) << r.err.constData();
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("нет свободного места"))) << r.err.constData();
    EXPECT_EQ(readRaw(out), "old read");
    EXPECT_NE(sim.stop(), 0);
    EXPECT_EQ(readRaw(saved), "old save");
}

// A real small file system that fills up, where this test may mount one (a user and mount
// namespace); the commands' own writes meet the full disk.
TEST_F(FileSafety, AFullFileSystemFailsTheSave)
{
    if (QProcess::execute(QStringLiteral("unshare"), {"-rm", "true"}) != 0)
        GTEST_SKIP() << "no mount namespace here";
    const QString disk = dir.filePath("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    const QString script = QStringLiteral("mount -t tmpfs -o size=16k none '%1' || exit 9\n"
                                          "head -c 8192 /dev/zero > '%1/fill'\n"
                                          "printf 'old' > '%1/car.tcset'\n"
                                          "'%2' set '%3' AllPathStart=130000 -o '%1/car.tcset'; echo \"rc=$?\"\n"
                                          "'%2' new --model 0x0101 --version 1 -o '%1/car.tcset'; echo \"rc=$?\"\n"
                                          "cat '%1/car.tcset'; echo; ls -a '%1' | tr '\\n' ' '\n")
                               .arg(disk, QStringLiteral(MK_BIN_DIR "/mktool"), file);
    QProcess p;
    p.start(QStringLiteral("unshare"), {"-rm", "sh", "-c", script});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (p.exitCode() == 9)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    EXPECT_EQ(out.count(QStringLiteral("rc=1")), 2) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\nold\n"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral(".part"))) << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("на диске нет свободного места"))) << err.toStdString();
}

TEST_F(FileSafety, EveryCommandThatReadsAFileRefusesAFifoAtOnce)
{
    const QString fifo = dir.filePath("fifo.tcset");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString out = dir.filePath("out");
    const QList<QStringList> reads = {
        {"info", fifo},
        {"dump", fifo},
        {"diff", fifo, file},
        {"diff", file, fifo},
        {"set", fifo, "AllPathStart=1", "-o", out},
        {"apply", fifo, file, "-o", out},
        {"apply", profile, fifo, "-o", out},
        {"profile", fifo, "-o", out},
        {"journals", fifo},
        {"osc", fifo, "--csv"},
        {"render", fifo, "--screen", "x4:1", "-o", out},
        {"write", fifo, "--port", "/dev/nonexistent-tty"},
        {"write", fifo, "--dry-run", "--port", "/dev/nonexistent-tty"},
        {"apply", fifo, "--device", "--port", "/dev/nonexistent-tty"},
    };
    for (const QStringList &args : reads) {
        QElapsedTimer clock;
        clock.start();
        const ToolRun r = mktoolWith(args, QString(), 5000);
        EXPECT_LT(clock.elapsed(), 1000) << args.join(' ').toStdString();
        EXPECT_EQ(r.code, args.first() == QLatin1String("diff") ? 2 : 1) << args.join(' ').toStdString(); // diff: trouble
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("канал (FIFO)")))
            << args.join(' ').toStdString() << r.err.constData();
    }
    // A FIFO named like a backup is listed as damaged, not waited for.
    const QString backups = dir.filePath("backups");
    ASSERT_TRUE(QDir().mkdir(backups));
    ASSERT_EQ(::mkfifo(QFile::encodeName(backups + "/mk-20261208-143005-8002.tcset").constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    const ToolRun list = mktoolWith({"backups", "--dir", backups}, QString(), 5000);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(list.code, 0) << list.err.constData();
}

TEST_F(FileSafety, TextTheDeviceCannotShowIsRefusedByName)
{
    const QString out = dir.filePath("out.tcset");
    ASSERT_TRUE(writeRaw(out, "old"));
    const ToolRun accepted = mktoolWith({"set", file, "ForsTOCntKName=Замена №1", "-o", out}, QString());
    ASSERT_EQ(accepted.code, 0) << accepted.err.constData();
    ASSERT_TRUE(writeRaw(out, "old"));
    struct Case
    {
        QString value;
        QString says;
    };
    const Case cases[] = {{QStringLiteral("Oil ☺"), QStringLiteral("«☺»")},
                          {QStringLiteral("Tab\there"), QStringLiteral("U+0009")},
                          {QStringLiteral("漢"), QStringLiteral("«漢»")}};
    for (const Case &c : cases) {
        const ToolRun r = mktoolWith({"set", file, QStringLiteral("ForsTOCntKName=") + c.value, "-o", out}, QString());
        EXPECT_EQ(r.code, 1);
        const QString err = QString::fromUtf8(r.err);
        EXPECT_TRUE(err.contains(QStringLiteral("ForsTOCntKName")) && err.contains(c.says)) << err.toStdString();
        EXPECT_EQ(readRaw(out), "old");
    }
}
