// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileIo.h"

#include "base/Error.h"
#include "base/FileIoShared.h"
#include "base/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mk {

namespace {

// A name that arrived in bytes which are not UTF-8 cannot be turned back into those bytes: the
// decoder put U+FFFD where they were.
bool nameLostBytes(const QString &path) { return path.contains(QChar(QChar::ReplacementCharacter)); }

QString notUtf8Reason() { return QStringLiteral("в имени файла есть байты не в кодировке UTF-8 (переименуйте файл)"); }

QByteArray nativeName(const QString &path) { return QFile::encodeName(path); }

// True (errno set) when a test asked this step to fail.
bool injected(WriteStep step)
{
    const int error = injectedWriteFault(step);
    if (error != 0)
        errno = error;
    return error != 0;
}

// What a file that is not a regular one is, in words.
QString kindOf(mode_t mode)
{
    return S_ISDIR(mode)    ? QStringLiteral("папка")
           : S_ISFIFO(mode) ? QStringLiteral("канал (FIFO)")
           : S_ISSOCK(mode) ? QStringLiteral("сокет")
           : S_ISCHR(mode)  ? QStringLiteral("устройство")
           : S_ISBLK(mode)  ? QStringLiteral("дисковое устройство")
           : S_ISLNK(mode)  ? QStringLiteral("ссылка")
                            : QStringLiteral("особый файл");
}

// A device or FIFO is written to as it is; nothing else but a regular file takes a file.
bool writableInPlace(mode_t mode) { return S_ISCHR(mode) || S_ISFIFO(mode); }

// ---- writing ----

// A temporary file created exclusively (O_EXCL, O_NOFOLLOW) in dir; removed unless released.
class TempFile
{
public:
    TempFile(const QString &dir, const QString &stem)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = temporaryFileName(dir, stem);
            const int fd = ::open(nativeName(m_path).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
            if (fd >= 0) {
                m_fd = fd;
                return;
            }
            if (errno != EEXIST) {
                m_error = errno;
                return;
            }
        }
        m_error = EEXIST;
    }
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(nativeName(m_path).constData());
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    int error() const { return m_error; }
    const QString &path() const { return m_path; }

    // Writes, flushes, syncs and closes; 0 or the errno of the first step that failed.
    int fill(const QByteArray &data, mode_t mode)
    {
        if (mode != 0)
            (void)::fchmod(m_fd, mode);
        FILE *f = ::fdopen(m_fd, "wb");
        if (!f)
            return errno;
        m_fd = -1; // the stream owns it now
        static constexpr size_t kBuffer = 64 * 1024;
        std::setvbuf(f, nullptr, _IOFBF, kBuffer);
        int failed = 0;
        errno = 0;
        if (injected(WriteStep::Write) ||
            std::fwrite(data.constData(), 1, size_t(data.size()), f) != size_t(data.size()))
            failed = errno ? errno : EIO;
        if (!failed && (injected(WriteStep::Flush) || std::fflush(f) != 0))
            failed = errno ? errno : EIO;
        // EINVAL: a file system without fsync; nothing more can be done for the data there.
        if (!failed && (injected(WriteStep::Fsync) || (::fsync(::fileno(f)) != 0 && errno != EINVAL)))
            failed = errno ? errno : EIO;
        const int closeErrno = std::fclose(f) != 0 ? (errno ? errno : EIO) : 0;
        if (!failed)
            failed = injected(WriteStep::Close) ? errno : closeErrno;
        return failed;
    }

    // The file is now known under another name.
    void release() { m_path.clear(); }

private:
    QString m_path;
    int m_fd = -1;
    int m_error = 0;
};

// Why the file at path must not be replaced, or "": the user has not allowed it to be written
// (read-only), or it is another user's, whom a replacement would take it from (root included).
// A link standing at the name is replaced, never written through, so only a file itself counts.
QString replaceProblem(const QString &path)
{
    struct stat st
    {};
    if (::lstat(nativeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    if (st.st_uid != ::geteuid())
        return QStringLiteral("владелец файла - другой пользователь; сохраните под другим именем");
    if (!(st.st_mode & S_IWUSR))
        return QStringLiteral("файл доступен только для чтения; снимите этот признак или сохраните под другим "
                              "именем");
    return {};
}

// Renames from to to unless something (a link included) stands at to: 0, or the errno (EEXIST
// when the name is taken). Nothing at to is followed or replaced.
int placeIfFree(const QString &from, const QString &to)
{
    const QByteArray source = nativeName(from), target = nativeName(to);
    int rc = ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
        rc = ::link(source.constData(), target.constData());
        if (rc == 0)
            ::unlink(source.constData());
    }
    return rc == 0 ? 0 : errno;
}

// A device or FIFO the user named (/dev/stdout, a FIFO another program reads) cannot be replaced:
// it takes the data as it is. A FIFO nobody reads is refused at once rather than waited on.
void writeInPlace(const QString &path, const QByteArray &data)
{
    const int fd = ::open(nativeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        throw writeError(path, error == ENXIO ? QStringLiteral("канал (FIFO) никто не читает") : writeReason(error),
                         false, error);
    }
    struct Closer
    {
        int fd;
        ~Closer()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } closer{fd};
    struct stat st
    {};
    if (::fstat(fd, &st) != 0 || !writableInPlace(st.st_mode)) // swapped for something else meanwhile
        throw writeError(path, QStringLiteral("файл подменён во время записи"), false);
    // Opened; from here a reader that is slow is waited for like any pipe.
    (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int failed = injected(WriteStep::Write) ? errno : 0;
    for (qsizetype done = 0; !failed && done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failed = n < 0 ? errno : EIO;
        else
            done += n;
    }
    const int rc = ::close(fd);
    closer.fd = -1;
    if (!failed && rc != 0 && errno != EINTR)
        failed = errno;
    if (failed)
        throw writeError(path, writeReason(failed), false, failed);
}

void syncFolder(const QString &dir)
{
    const int fd = ::open(nativeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd); // the rename itself is done; a folder that cannot sync loses nothing more
    ::close(fd);
}

} // namespace

QString systemOnlyErrorReason(int error)
{
    return error == EDQUOT ? QStringLiteral("исчерпана дисковая квота") : QString();
}

namespace {

namespace FileCheck {
enum : int { NoLink = 1, Own = 2 }; // the file itself must not be a link / must be this user's
}

QByteArray readRegularFile(const QString &path, qint64 maxSize, int checks)
{
    const auto fail = [&](const QString &reason, int error = 0) {
        return fileError(path, QStringLiteral("Не могу прочитать файл \"%1\": %2.").arg(shownPath(path), reason),
                         error);
    };
    const auto failErrno = [&](int error) {
        if (error == ENOENT)
            return nameLostBytes(path)
                       ? fail(notUtf8Reason())
                       : fileError(path, QStringLiteral("Файл \"%1\" не найден.").arg(shownPath(path)), error);
        if (error == EISDIR)
            return fileError(path, QStringLiteral("\"%1\" - это папка, а не файл.").arg(shownPath(path)), error);
        return fail(fileErrorReason(error), error);
    };
    const auto notRegular = [&](mode_t mode) {
        if (S_ISDIR(mode))
            return fileError(path, QStringLiteral("\"%1\" - это папка, а не файл.").arg(shownPath(path)));
        return fail(QStringLiteral("это %1, а не обычный файл").arg(kindOf(mode)));
    };
    const QByteArray name = nativeName(path);
    if (path.isEmpty())
        throw Error(ErrorKind::BadValue, QStringLiteral("Не указано имя файла."));
    // Looked at before opening: opening a device may already do something to it.
    struct stat st
    {};
    const bool noLink = checks & FileCheck::NoLink;
    if ((noLink ? ::lstat(name.constData(), &st) : ::stat(name.constData(), &st)) != 0)
        throw failErrno(errno);
    if (!S_ISREG(st.st_mode))
        throw notRegular(st.st_mode);
    // O_NONBLOCK: should the name be swapped for a FIFO in between, opening still returns at once.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (noLink ? O_NOFOLLOW : 0));
    if (fd < 0)
        throw failErrno(errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0)
        throw failErrno(errno);
    if (!S_ISREG(st.st_mode))
        throw notRegular(st.st_mode);
    if ((checks & FileCheck::Own) && st.st_uid != ::geteuid())
        throw fail(QStringLiteral("владелец файла - другой пользователь"));
    if (st.st_size > maxSize)
        throw fileError(
            path, QStringLiteral("Файл \"%1\" слишком велик (%2 байт).").arg(shownPath(path)).arg(qint64(st.st_size)));
    QByteArray data;
    data.resize(qsizetype(st.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxSize)
                break;
            data.resize(qMin<qint64>(maxSize + 1, filled * 2 + 4096));
        }
        const ssize_t n = ::read(fd, data.data() + filled, size_t(data.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            throw fail(fileErrorReason(error), error);
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxSize)
        throw fileError(path, QStringLiteral("Файл \"%1\" слишком велик.").arg(shownPath(path)));
    data.truncate(filled);
    return data;
}

} // namespace

QByteArray readWholeFile(const QString &path, qint64 maxSize) { return readRegularFile(path, maxSize, 0); }

QByteArray readOwnFile(const QString &path, qint64 maxSize)
{
    return readRegularFile(path, maxSize, FileCheck::NoLink | FileCheck::Own);
}

QByteArray readFileNoLink(const QString &path, qint64 maxSize)
{
    return readRegularFile(path, maxSize, FileCheck::NoLink);
}

void checkFileWritable(const QString &path)
{
    if (path.isEmpty())
        throw Error(ErrorKind::BadValue, QStringLiteral("Не указано имя файла."));
    if (nameLostBytes(path))
        throw writeError(path, notUtf8Reason(), false);
    struct stat st
    {};
    const bool exists = ::stat(nativeName(path).constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw writeError(path, QStringLiteral("это папка, а не файл"), false);
    if (exists && !S_ISREG(st.st_mode)) {
        if (!writableInPlace(st.st_mode))
            throw writeError(path, QStringLiteral("это %1, а не обычный файл").arg(kindOf(st.st_mode)), false);
        if (::access(nativeName(path).constData(), W_OK) != 0) {
            const int error = errno;
            throw writeError(path, writeReason(error), false, error);
        }
        return;
    }
    if (const QString problem = replaceProblem(path); !problem.isEmpty())
        throw writeError(path, problem, true);
    const QString dir = QFileInfo(path).absolutePath();
    struct stat dirSt
    {};
    if (::stat(nativeName(dir).constData(), &dirSt) != 0) {
        const int error = errno;
        throw writeError(path, error == ENOENT ? QStringLiteral("папка не существует") : fileErrorReason(error), exists,
                         error);
    }
    if (!S_ISDIR(dirSt.st_mode))
        throw writeError(path, writeReason(ENOTDIR), exists, ENOTDIR);
    if (::access(nativeName(dir).constData(), W_OK | X_OK) != 0) {
        const int error = errno;
        throw writeError(path, error == EACCES ? QStringLiteral("нет прав на запись в папку") : fileErrorReason(error),
                         exists, error);
    }
}

void writeFileAtomically(const QString &path, const QByteArray &data)
{
    checkFileWritable(path);
    // Only a regular file (or a link to one, which is replaced) is ever replaced.
    struct stat standing
    {};
    if (::stat(nativeName(path).constData(), &standing) == 0 && writableInPlace(standing.st_mode)) {
        writeInPlace(path, data);
        return;
    }
    const QFileInfo target(path);
    struct stat st
    {};
    const bool exists = ::lstat(nativeName(path).constData(), &st) == 0;
    // A replaced file keeps its permissions (not those of a link standing at its name).
    const mode_t mode = exists && S_ISREG(st.st_mode) ? mode_t(st.st_mode & 0777) : 0;
    TempFile temp(target.absolutePath(), target.fileName());
    if (temp.error())
        throw writeError(path, writeReason(temp.error()), exists, temp.error());
    if (const int error = temp.fill(data, mode))
        throw writeError(path, writeReason(error), exists, error);
    // Once more: the file may have changed hands while the data was written.
    if (const QString problem = replaceProblem(path); !problem.isEmpty())
        throw writeError(path, problem, true);
    if (::rename(nativeName(temp.path()).constData(), nativeName(path).constData()) != 0) {
        const int error = errno;
        throw writeError(path, writeReason(error), exists, error);
    }
    temp.release();
    syncFolder(target.absolutePath());
}

QString writeNewFile(const QString &dir, const std::function<QString(int)> &nameFor, const QByteArray &data,
                     int maxTries)
{
    const QString first = QDir(dir).filePath(nameFor(1));
    TempFile temp(dir, QFileInfo(first).fileName());
    if (temp.error())
        throw writeError(first, writeReason(temp.error()), false, temp.error());
    if (const int error = temp.fill(data, 0))
        throw writeError(first, writeReason(error), false, error);
    for (int n = 1; n <= maxTries; ++n) {
        const QString path = QDir(dir).filePath(nameFor(n));
        const int error = placeIfFree(temp.path(), path);
        if (error == 0) {
            temp.release();
            syncFolder(dir);
            return path;
        }
        if (error != EEXIST)
            throw writeError(path, writeReason(error), false, error);
    }
    throw writeError(first, QStringLiteral("нет свободного имени файла"), false);
}

bool moveIfFree(const QString &from, const QString &to)
{
    const int error = placeIfFree(from, to);
    if (error == EEXIST)
        return false;
    if (error != 0)
        throw writeError(to, writeReason(error), false, error);
    syncFolder(QFileInfo(to).absolutePath());
    return true;
}

namespace {

QString folderRefusal(const QString &path, const QString &reason)
{
    return QStringLiteral("Папка \"%1\" не подходит: %2.").arg(shownPath(path), reason);
}

// Others may create, remove or rename names in the folder.
bool othersMayWrite(const struct stat &st)
{
    return (st.st_mode & S_IWOTH) || ((st.st_mode & S_IWGRP) && st.st_gid != ::getegid());
}

// "" or why the folder is no folder of this user's own (a link, another owner, not a folder).
QString notOwnFolder(const QString &path, struct stat &st)
{
    if (::lstat(nativeName(path).constData(), &st) != 0)
        return errno == ENOENT ? QStringLiteral("её нет") : fileErrorReason(errno);
    if (!S_ISDIR(st.st_mode))
        return S_ISLNK(st.st_mode) ? QStringLiteral("это ссылка, а не папка") : QStringLiteral("это не папка");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("её владелец - другой пользователь");
    return {};
}

} // namespace

QString privateFolderProblem(const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return folderRefusal(path, QStringLiteral("путь не задан полностью"));
    struct stat st
    {};
    if (const QString problem = notOwnFolder(path, st); !problem.isEmpty())
        return folderRefusal(path, problem);
    if (st.st_mode & (S_IRWXG | S_IRWXO))
        return folderRefusal(path, QStringLiteral("у других пользователей есть права на неё"));
    return {};
}

QString ownPrivateFolder(const QString &parent, const QString &name, QString *why)
{
    const auto refuse = [why](const QString &text) {
        if (why)
            *why = text;
        return QString();
    };
    if (parent.isEmpty() || !QDir::isAbsolutePath(parent))
        return refuse(folderRefusal(parent, QStringLiteral("путь не задан полностью")));
    struct stat st
    {};
    if (const QString problem = notOwnFolder(parent, st); !problem.isEmpty())
        return refuse(folderRefusal(parent, problem));
    if (othersMayWrite(st))
        return refuse(folderRefusal(parent, QStringLiteral("в неё могут писать другие пользователи")));
    const QString path = QDir(parent).filePath(name);
    if (::mkdir(nativeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return refuse(folderRefusal(path, fileErrorReason(errno)));
    if (const QString problem = privateFolderProblem(path); !problem.isEmpty())
        return refuse(problem);
    return path;
}

QString ensurePrivateFolder(const QString &path, QString *why)
{
    const auto refuse = [&](const QString &reason) {
        if (why)
            *why = folderRefusal(path, reason);
        return QString();
    };
    if (path.isEmpty())
        return refuse(QStringLiteral("не задана"));
    const QByteArray name = nativeName(path);
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return refuse(QStringLiteral("нельзя создать папку, в которой она лежит"));
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return refuse(fileErrorReason(errno));
    struct stat st
    {};
    if (const QString problem = notOwnFolder(path, st); !problem.isEmpty())
        return refuse(problem);
    // A folder made by someone else in between is used as it is, never chmodded.
    if (othersMayWrite(st))
        return refuse(QStringLiteral("в неё могут писать другие пользователи"));
    return path;
}

void checkFolderNotShared(const QString &dir)
{
    struct stat st
    {};
    if (::stat(nativeName(dir).constData(), &st) != 0) {
        const int error = errno;
        throw fileError(dir, QStringLiteral("Папка \"%1\": %2.").arg(shownPath(dir), fileErrorReason(error)), error);
    }
    const bool foreign = st.st_uid != ::geteuid() && st.st_uid != 0;
    if (foreign || othersMayWrite(st))
        throw fileError(dir, QStringLiteral("в папку \"%1\" могут писать другие пользователи; выберите папку, "
                                            "доступную для записи только вам")
                                 .arg(shownPath(dir)));
}

} // namespace mk
