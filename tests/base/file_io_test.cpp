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

TEST(FileIo, PrivateFoldersAndSharedOnes)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("a/run");
    ASSERT_EQ(ensurePrivateFolder(fresh), fresh);
    EXPECT_EQ(QFileInfo(fresh).permissions() & 0x0077, 0);
    EXPECT_NO_THROW(checkFolderNotShared(fresh));

    const QString open = dir.filePath("open");
    ASSERT_TRUE(QDir().mkdir(open));
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 01777), 0);
    QString why;
    EXPECT_TRUE(ensurePrivateFolder(open, &why).isEmpty());
    EXPECT_TRUE(why.contains(QStringLiteral("другие")));
    EXPECT_TRUE(errorTextOf([&] { checkFolderNotShared(open); }).contains(QStringLiteral("другие пользователи")));

    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(fresh, link));
    EXPECT_TRUE(ensurePrivateFolder(link).isEmpty());
    if (::geteuid() == 0) {
        const QString foreign = dir.filePath("foreign");
        ASSERT_TRUE(QDir().mkdir(foreign));
        ASSERT_EQ(::chmod(QFile::encodeName(foreign).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        EXPECT_TRUE(ensurePrivateFolder(foreign).isEmpty());
        EXPECT_THROW(checkFolderNotShared(foreign), Error);
    }
}
