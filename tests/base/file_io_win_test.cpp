// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows save: a failure at any step keeps the old file, a link at the name is replaced
// and never written through, names in any alphabet work, and only regular files are read.

#include "base/Error.h"
#include "base/FileIo.h"
#include "support/ErrorText.h"
#include "support/RawFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <windows.h>

using namespace mk;
using mk::test::errorTextOf;

namespace {

struct FaultGuard
{
    FaultGuard(WriteStep step, int error) { injectWriteFault(step, error); }
    ~FaultGuard() { injectWriteFault(WriteStep::None, 0); }
};

QStringList entries(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

TEST(FileIoWin, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBehind)
{
    const std::pair<WriteStep, int> cases[] = {
        {WriteStep::Write, ENOSPC}, {WriteStep::Flush, EIO}, {WriteStep::Fsync, EIO}, {WriteStep::Close, EACCES}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("машина.tcset"));
    ASSERT_TRUE(writeRaw(path, "old contents"));
    for (const auto &[step, error] : cases) {
        const FaultGuard fault(step, error);
        const QString message = errorTextOf([&] { writeFileAtomically(path, QByteArray(100000, 'x')); });
        EXPECT_TRUE(message.contains(QStringLiteral("машина.tcset")) &&
                    message.contains(QStringLiteral("Прежний файл не изменён")))
            << message.toStdString();
        EXPECT_EQ(readRaw(path), "old contents");
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("машина.tcset")});
    }
    writeFileAtomically(path, "new contents");
    EXPECT_EQ(readWholeFile(path, 1000), "new contents");
    EXPECT_EQ(entries(dir), QStringList{QStringLiteral("машина.tcset")});
}

TEST(FileIoWin, ALinkAtTheNameIsReplacedNotWrittenThrough)
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    const QString link = dir.filePath(QStringLiteral("car.tcset"));
    ASSERT_TRUE(writeRaw(victim, "keep me"));
    if (!CreateSymbolicLinkW(QDir::toNativeSeparators(link).toStdWString().c_str(),
                             QDir::toNativeSeparators(victim).toStdWString().c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        GTEST_SKIP() << "this system makes no symbolic links for this user";
    writeFileAtomically(link, "settings");
    EXPECT_EQ(readRaw(victim), "keep me");
    EXPECT_EQ(readRaw(link), "settings");
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(FileIoWin, ANewFileNeverReplacesOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeRaw(dir.filePath(QStringLiteral("backup-1.tcset")), "first"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("backup-2.tcset")));
    const QString path =
        writeNewFile(dir.path(), [](int n) { return QStringLiteral("backup-%1.tcset").arg(n); }, "third");
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("backup-3.tcset"));
    EXPECT_EQ(readRaw(dir.filePath(QStringLiteral("backup-1.tcset"))), "first");
    EXPECT_EQ(readRaw(path), "third");
}

TEST(FileIoWin, OnlyRegularFilesAreRead)
{
    QTemporaryDir dir;
    const std::pair<QString, QString> cases[] = {
        {dir.path(), QStringLiteral("папка")},
        {QStringLiteral("NUL"), QStringLiteral("устройство")},
        {dir.filePath(QStringLiteral("absent.tcset")), QStringLiteral("не найден")},
    };
    for (const auto &[path, reason] : cases) {
        const QString message = errorTextOf([&] { readWholeFile(path, 1000); });
        EXPECT_TRUE(message.contains(reason)) << path.toStdString() << ": " << message.toStdString();
    }
}
