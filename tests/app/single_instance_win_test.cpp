// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance lock on Windows: held by the open file, never judged by a stored process id.
#include "app/TJustOne.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

using mk::TJustOne;

TEST(SingleInstanceWin, OneCopyHoldsTheLockUntilItEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        const TJustOne first(QStringLiteral("mkconf.exe"), dir.path());
        ASSERT_TRUE(first.owned());
        ASSERT_TRUE(first.guarded());
        const TJustOne second(QStringLiteral("mkconf.exe"), dir.path());
        EXPECT_FALSE(second.owned());
        EXPECT_TRUE(second.guarded()); // it hands over to the first
        EXPECT_TRUE(TJustOne(QStringLiteral("mktool.exe"), dir.path()).owned());
        QFile reader(first.lockPath()); // others may look at it
        EXPECT_TRUE(reader.open(QIODevice::ReadOnly));
    }
    EXPECT_TRUE(TJustOne(QStringLiteral("mkconf.exe"), dir.path()).owned());
}

// A lock file left by a copy that ended, naming a process id that a running program carries now
// (this very program, with the same name): the file is not held, so it is taken.
TEST(SingleInstanceWin, LeftLockFileWithAReusedProcessIdIsTaken)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const QString name = QFileInfo(QString::fromWCharArray(self)).fileName();
    QFile left(dir.filePath(name + QStringLiteral(".lock")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' + name.toUtf8() + '\n');
    left.close();
    ASSERT_FALSE(name.isEmpty());
    const TJustOne guard(name, dir.path());
    EXPECT_TRUE(guard.owned());
    EXPECT_TRUE(guard.guarded());
}
