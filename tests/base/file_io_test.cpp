// SPDX-License-Identifier: GPL-3.0-or-later
// The one file writer and the reader: failures at every step keep the old file, nothing is
// written through a link, and inputs that are not regular files are refused at once.

#include "base/Error.h"
#include "base/FileIo.h"
#include "support/ErrorText.h"
#include "support/RawFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace mk;
using mk::test::errorTextOf;

namespace {

struct FaultGuard
{
    FaultGuard(WriteStep step, int error) { injectWriteFault(step, error); }
    ~FaultGuard() { injectWriteFault(WriteStep::None, 0); }
};

} // namespace

TEST(FileIo, AFailureAtAnyStepKeepsTheOldFileAndSaysWhy)
{
    struct Case
    {
        WriteStep step;
        int error;
        QString reason;
    };
    const Case cases[] = {
        {WriteStep::Write, ENOSPC, QStringLiteral("нет свободного места")},
        {WriteStep::Flush, ENOSPC, QStringLiteral("нет свободного места")},
        {WriteStep::Fsync, EIO, QStringLiteral("ошибка ввода-вывода")},
        {WriteStep::Close, EDQUOT, QStringLiteral("квота")},
        {WriteStep::Write, EROFS, QStringLiteral("только для чтения")},
        {WriteStep::Close, EACCES, QStringLiteral("нет прав")},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("car.tcset"));
    ASSERT_TRUE(writeRaw(path, "old contents"));
    for (const Case &c : cases) {
        const FaultGuard fault(c.step, c.error);
        const QString message = errorTextOf([&] { writeFileAtomically(path, QByteArray(100000, 'x')); });
        EXPECT_TRUE(message.contains(QStringLiteral("car.tcset")) && message.contains(c.reason) &&
                    message.contains(QStringLiteral("Прежний файл не изменён")))
            << int(c.step) << " " << message.toStdString();
        EXPECT_EQ(readRaw(path), "old contents");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("car.tcset")});
    }
    writeFileAtomically(path, "new");
    EXPECT_EQ(readRaw(path), "new");
}

TEST(FileIo, TheTargetIsReplacedNotWrittenThrough)
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim"));
    ASSERT_TRUE(writeRaw(victim, "keep"));
    const QString target = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(QFile::link(victim, target));
    writeFileAtomically(target, "data");
    EXPECT_EQ(readRaw(victim), "keep");
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(readRaw(target), "data");
}

// A file the user has not allowed to be written, or another user's, is never replaced; root
// gets no exemption. A link at the name is replaced, its target untouched; an own file keeps its mode.
TEST(FileIo, OnlyFilesTheUserMayWriteAreReplaced)
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim"));
    ASSERT_TRUE(writeRaw(victim, "keep"));
    const struct
    {
        const char *name;
        mode_t mode; // 0: a link to victim
        uid_t owner; // 0: this user
        QString refusal;
    } cases[] = {
        {"own", 0640, 0, {}},
        {"readonly", 0444, 0, QStringLiteral("только для чтения")},
        {"nowrite", 0500, 0, QStringLiteral("только для чтения")},
        {"foreign", 0666, 65534, QStringLiteral("другой пользователь")},
        {"link", 0, 0, {}},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        const QByteArray native = QFile::encodeName(path);
        ASSERT_TRUE(c.mode ? writeRaw(path, "old") && ::chmod(native.constData(), c.mode) == 0
                           : QFile::link(victim, path));
        if (c.owner != 0 && (::geteuid() != 0 || ::chown(native.constData(), c.owner, c.owner) != 0))
            continue; // only root can give a file away
        const QString message = errorTextOf([&] { writeFileAtomically(path, "new"); });
        EXPECT_TRUE(c.refusal.isEmpty() ? message.isEmpty() : message.contains(c.refusal) && message.contains(c.name))
            << c.name << ": " << message.toStdString();
        EXPECT_EQ(errorTextOf([&] { checkFileWritable(path); }).isEmpty(), c.refusal.isEmpty()) << c.name;
        EXPECT_EQ(readRaw(path), c.refusal.isEmpty() ? "new" : "old") << c.name;
        struct stat st
        {};
        if (c.mode && ::stat(native.constData(), &st) == 0) {
            EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name; // kept, whether replaced or not
        }
    }
    EXPECT_EQ(readRaw(victim), "keep");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::System | QDir::Files).size(), 6); // no leftovers
}

TEST(FileIo, ANewFileNeverReplacesAnythingNorFollowsALink)
{
    QTemporaryDir dir, elsewhere;
    const auto names = [](int n) { return QStringLiteral("b-%1").arg(n); };
    ASSERT_TRUE(writeRaw(dir.filePath("b-1"), "taken"));
    const QString planted = elsewhere.filePath("planted");
    ASSERT_TRUE(QFile::link(planted, dir.filePath("b-2"))); // dangling
    EXPECT_EQ(writeNewFile(dir.path(), names, "backup"), dir.filePath("b-3"));
    EXPECT_EQ(readRaw(dir.filePath("b-1")), "taken");
    EXPECT_FALSE(QFileInfo::exists(planted));
    EXPECT_EQ(readRaw(dir.filePath("b-3")), "backup");
    EXPECT_TRUE(
        errorTextOf([&] { writeNewFile(dir.path(), names, "x", 3); }).contains(QStringLiteral("нет свободного")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
              3);
}

TEST(FileIo, OnlyRegularFilesAreReadAndNothingWaits)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo"), loop = dir.filePath("loop");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(loop, loop));
    const QString socket = dir.filePath("sock");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socket).constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    const QString notUtf8 = QFile::decodeName(QFile::encodeName(dir.path()) + "/\xff\xfe.tcset");
    struct Case
    {
        QString path;
        QString says;
    };
    const Case cases[] = {
        {fifo, QStringLiteral("канал")},
        {socket, QStringLiteral("сокет")},
        {QStringLiteral("/dev/null"), QStringLiteral("устройство")},
        {dir.path(), QStringLiteral("папка")},
        {loop, QStringLiteral("петлю")},
        {dir.filePath("missing"), QStringLiteral("не найден")},
        {notUtf8, QStringLiteral("UTF-8")},
    };
    for (const Case &c : cases) {
        QElapsedTimer clock;
        clock.start();
        const QString message = errorTextOf([&] { readWholeFile(c.path, 1000); });
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_TRUE(message.contains(c.says)) << c.path.toStdString() << ": " << message.toStdString();
    }
    ::close(fd);
    // The hand-over's reader takes no link and no file of another user.
    ASSERT_TRUE(writeRaw(dir.filePath("mine"), "x"));
    ASSERT_TRUE(QFile::link(dir.filePath("mine"), dir.filePath("link")));
    EXPECT_EQ(readOwnFile(dir.filePath("mine"), 10), "x");
    EXPECT_FALSE(errorTextOf([&] { readOwnFile(dir.filePath("link"), 10); }).isEmpty());
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(dir.filePath("mine")).constData(), 65534, 65534), 0);
        EXPECT_TRUE(errorTextOf([&] { readOwnFile(dir.filePath("mine"), 10); }).contains(QStringLiteral("другой")));
    }
}

// Nothing but a regular file is ever replaced: a device or FIFO the user named takes the data as
// it is (a FIFO nobody reads is refused at once), a socket or a folder is refused with its kind
// named; a link to each is the same and stays a link.
TEST(FileIo, OnlyRegularFilesAreReplacedSpecialFilesAreWrittenOrRefused)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo"), lonely = dir.filePath("lonely"), socket = dir.filePath("sock"),
                  folder = dir.filePath("folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(lonely).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socket).constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    // The FIFO's reader: opened without waiting, so the writer finds it there.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const struct
    {
        QString path;
        QString refusal; // empty: written to directly
    } cases[] = {
        {QStringLiteral("/dev/null"), {}},
        {QStringLiteral("/dev/full"), QStringLiteral("нет свободного места")},
        {fifo, {}},
        {lonely, QStringLiteral("никто не читает")},
        {socket, QStringLiteral("сокет")},
        {folder, QStringLiteral("папка")},
    };
    const auto kind = [](const QString &path) {
        struct stat st
        {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : mode_t(0);
    };
    for (const auto &c : cases) {
        const QString link = dir.filePath(QStringLiteral("link-") + QFileInfo(c.path).fileName());
        ASSERT_TRUE(QFile::link(c.path, link));
        for (const QString &path : {c.path, link}) {
            const mode_t before = kind(path);
            QElapsedTimer clock;
            clock.start();
            const QString message = errorTextOf([&] { writeFileAtomically(path, "data"); });
            EXPECT_LT(clock.elapsed(), 2000) << path.toStdString(); // never waits for a reader
            EXPECT_TRUE(c.refusal.isEmpty() ? message.isEmpty() : message.contains(c.refusal))
                << path.toStdString() << ": " << message.toStdString();
            EXPECT_EQ(errorTextOf([&] { checkFileWritable(path); }).isEmpty(),
                      c.refusal.isEmpty() || c.path == lonely || c.path.startsWith(QStringLiteral("/dev")))
                << path.toStdString();
            EXPECT_EQ(kind(path), before) << path.toStdString(); // never renamed over
        }
    }
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 8); // "data" through the FIFO and through its link
    ::close(reader);
    ::close(sock);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".part")),
              QStringList()); // no temporary file left
}

// The lock folder is taken only as it is (this user's, no rights for anyone else); the program's
// own folder is made only as the last component inside a folder of this user's. Nothing is chmodded.
TEST(FileIo, PrivateFoldersAreTakenAsTheyAreNeverMadeAlongAPathNorChmodded)
{
    QTemporaryDir dir;
    const auto made = [&](const char *name, mode_t mode) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(QDir().mkdir(path) && ::chmod(QFile::encodeName(path).constData(), mode) == 0);
        return path;
    };
    const auto modeOf = [](const QString &path) {
        struct stat st
        {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(0);
    };
    const QString own = made("own", 0700), home = made("home", 0755), shared = made("shared", 01777);
    const QString link = dir.filePath("link"), missing = dir.filePath("missing");
    ASSERT_TRUE(QFile::link(own, link));
    const std::pair<QString, QString> cases[] = {
        {own, {}},
        {home, QStringLiteral("права")},
        {shared, QStringLiteral("права")},
        {link, QStringLiteral("ссылка")},
        {missing + QStringLiteral("/run"), QStringLiteral("её нет")},
    };
    for (const auto &[path, refusal] : cases) {
        const QString problem = privateFolderProblem(path);
        EXPECT_TRUE(problem.isEmpty() == refusal.isEmpty() && problem.contains(refusal)) << problem.toStdString();
    }
    QString why;
    EXPECT_EQ(ownPrivateFolder(home, QStringLiteral("mkconf"), &why), home + QStringLiteral("/mkconf"));
    EXPECT_EQ(modeOf(home + QStringLiteral("/mkconf")), 0700u);
    ASSERT_EQ(::chmod(QFile::encodeName(home + QStringLiteral("/mkconf")).constData(), 0750), 0);
    EXPECT_TRUE(ownPrivateFolder(home, QStringLiteral("mkconf")).isEmpty()); // not made private again
    EXPECT_TRUE(ownPrivateFolder(shared, QStringLiteral("mkconf"), &why).isEmpty());
    EXPECT_TRUE(why.contains(QStringLiteral("другие пользователи"))) << why.toStdString();
    EXPECT_TRUE(ownPrivateFolder(missing, QStringLiteral("mkconf")).isEmpty());
    EXPECT_TRUE(ensurePrivateFolder(shared).isEmpty());
    EXPECT_THROW(checkFolderNotShared(shared), Error);
    EXPECT_EQ(modeOf(home), 0755u);
    EXPECT_EQ(modeOf(home + QStringLiteral("/mkconf")), 0750u);
    EXPECT_EQ(modeOf(shared), 01777u);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(shared + QStringLiteral("/mkconf")));
    if (::geteuid() == 0) {
        const QString foreign = made("foreign", 0700);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        EXPECT_TRUE(privateFolderProblem(foreign).contains(QStringLiteral("другой пользователь")));
        EXPECT_TRUE(ownPrivateFolder(foreign, QStringLiteral("mkconf")).isEmpty());
        EXPECT_TRUE(ensurePrivateFolder(foreign).isEmpty());
    }
}
