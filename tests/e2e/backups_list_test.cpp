// SPDX-License-Identifier: GPL-3.0-or-later
// The backups folder as a list: backups newest first, foreign and damaged files marked, never a
// failure; mktool backups prints the same.

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "link/Backup.h"
#include "link/BackupList.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace mk::test {
namespace {

// A folder with two whole backups (two taken in the same second), files that only look like
// backups, a stranger and the things a listing must pass over.
struct BackupFolder
{
    QTemporaryDir dir;
    QString older, newer, sameSecond;

    BackupFolder()
    {
        const QDateTime t0(QDate(2026, 12, 1), QTime(9, 30, 0));
        older = saveBackup(dir.path(), 0x0101, makeFactoryImage(0x0101, 1), t0);
        newer = saveBackup(dir.path(), 0x8002, makeFactoryImage(0x8002, 3), t0.addDays(2));
        sameSecond = saveBackup(dir.path(), 0x8002, makeFactoryImage(0x8002, 3), t0.addDays(2));
        const auto put = [this](const char *name, const QByteArray &bytes) {
            writeFileAtomically(dir.filePath(QString::fromLatin1(name)), bytes);
        };
        put("notes.txt", "installer's notes");
        QFile notes(dir.filePath(QStringLiteral("notes.txt")));
        notes.open(QIODevice::ReadWrite);
        notes.setFileTime(QDateTime(QDate(2026, 11, 1), QTime(8, 0)), QFileDevice::FileModificationTime);
        put("mk-20261202-120000-0101.tcset", "x"); // too short to hold a model code
        put("mk-20261202-130000-0101.tcset", encodeSettingsFile(0x0101, QByteArray(40, '\x7f'))); // no sections
        put("mk-20261202-140000-0102.tcset",
            encodeSettingsFile(0x0101, makeFactoryImage(0x0101, 1))); // code not its name's
        put(".backup-abc123", "half-written");                        // hidden: skipped
        QDir(dir.path()).mkdir(QStringLiteral("sub.tcset"));          // folders: skipped
        // Named like the newest backups, but a link (to a whole backup) and a FIFO: skipped.
        QFile::link(newer, dir.filePath(QStringLiteral("mk-20261209-100000-8002.tcset")));
        ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("mk-20261209-110000-8002.tcset"))).constData(), 0600);
    }
};

TEST(BackupList, NewestFirstWithForeignAndDamagedFilesMarked)
{
    BackupFolder f;
    const std::vector<BackupEntry> list = listBackups(f.dir.path());
    QStringList names;
    QList<int> kinds;
    for (const BackupEntry &e : list) {
        names << e.fileName;
        kinds << e.kind;
    }
    const QString newer = QFileInfo(f.newer).fileName(), same = QFileInfo(f.sameSecond).fileName(),
                  older = QFileInfo(f.older).fileName();
    EXPECT_EQ(names.mid(0, 2), (QStringList{same, newer})) << names.join(' ').toStdString();
    EXPECT_EQ(names.mid(2, 3), (QStringList{QStringLiteral("mk-20261202-140000-0102.tcset"),
                                            QStringLiteral("mk-20261202-130000-0101.tcset"),
                                            QStringLiteral("mk-20261202-120000-0101.tcset")}));
    EXPECT_EQ(names.indexOf(older), 5);
    EXPECT_EQ(kinds.mid(0, 6), (QList<int>{BackupEntry::Backup, BackupEntry::Backup, BackupEntry::Damaged,
                                           BackupEntry::Damaged, BackupEntry::Damaged, BackupEntry::Backup}));
    ASSERT_EQ(list.size(), 7u); // and notes.txt, by its modification time
    EXPECT_EQ(names[6], QStringLiteral("notes.txt"));
    EXPECT_EQ(list[6].kind, BackupEntry::Foreign);
    const BackupEntry &n = list[1];
    EXPECT_EQ(n.modelCode, 0x8002);
    EXPECT_EQ(n.settingsVersion, 3u);
    EXPECT_EQ(n.when, QDateTime(QDate(2026, 12, 3), QTime(9, 30, 0)));
    for (const BackupEntry &e : list)
        EXPECT_EQ(e.problem.isEmpty(), e.kind == BackupEntry::Backup) << e.fileName.toStdString();

    EXPECT_TRUE(listBackups(f.dir.filePath(QStringLiteral("none"))).empty());
}

TEST(BackupList, MktoolListsTheSame)
{
    BackupFolder f;
    const ToolRun json =
        mktool({QStringLiteral("backups"), QStringLiteral("--dir"), f.dir.path(), QStringLiteral("--json")});
    ASSERT_EQ(json.code, 0) << json.err.constData();
    const QJsonArray items = QJsonDocument::fromJson(json.out).object()[QStringLiteral("backups")].toArray();
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0].toObject()[QStringLiteral("path")].toString(), f.sameSecond);
    EXPECT_EQ(items[0].toObject()[QStringLiteral("model_code")].toInt(), 0x8002);
    EXPECT_EQ(items[2].toObject()[QStringLiteral("kind")].toString(), QStringLiteral("damaged"));
    const ToolRun text = mktool({QStringLiteral("backups"), QStringLiteral("--dir"), f.dir.path()});
    ASSERT_EQ(text.code, 0);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QStringLiteral("Чужой файл"))) << text.out.constData();
    EXPECT_TRUE(text.out.contains("2026-12-03 09:30:00  0x8002")) << text.out.constData();
}

} // namespace
// A backup never goes through a link planted at its name, never into a folder others may write
// into, and a folder it makes is this user's alone.
TEST(Backup, NeverThroughALinkNorIntoASharedFolder)
{
    QTemporaryDir dir, elsewhere;
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 30, 5));
    const QByteArray image = makeFactoryImage(0x8002, 3);
    const QString planted = elsewhere.filePath(QStringLiteral("victim.tcset"));
    ASSERT_TRUE(QFile::link(planted, dir.filePath(QStringLiteral("mk-20261208-143005-8002.tcset"))));
    const QString path = saveBackup(dir.path(), 0x8002, image, when);
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("mk-20261208-143005-8002-2.tcset"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(planted));
    EXPECT_EQ(readWholeFile(path, kMaxSettingsFileSize), encodeSettingsFile(0x8002, image));

    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    try {
        saveBackup(dir.path(), 0x8002, image, when);
        ADD_FAILURE() << "a folder everyone may write into was used";
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(dir.path()) && e.text().contains(QStringLiteral("другие пользователи")))
            << e.text().toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);

    const QString made = elsewhere.filePath(QStringLiteral("new/backups"));
    saveBackup(made, 0x8002, image, when);
    EXPECT_EQ(QFileInfo(made).permissions() & QFileDevice::Permissions(0x0077), QFileDevice::Permissions());
}

} // namespace mk::test
