// SPDX-License-Identifier: GPL-3.0-or-later
// The file routines on Windows: regular files only, and every save through a new temporary file
// beside the target, written, flushed to the disk (FlushFileBuffers) and closed, each step
// checked, then moved over the target with write-through. Names are UTF-16 throughout, so any
// name the user can type works.

#include "base/FileIo.h"

#include "base/Error.h"
#include "base/FileIoShared.h"
#include "base/SystemError.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <string>
#include <windows.h>

namespace mk {

namespace {

// A path the system takes; the long-path form only where the short one would not do.
std::wstring wide(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (native.size() < MAX_PATH - 12 || native.startsWith(QLatin1String("\\\\")))
        return native.toStdWString();
    return (QStringLiteral("\\\\?\\") + native).toStdWString();
}

// The errno that says the same as a system error, so that one table of reasons serves.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY: return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST: return ENODEV;
    case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
    default: return EIO;
    }
}

// The errno of the step that just failed; its Windows code stays beside it for the error's context.
int lastErrno()
{
    const DWORD code = GetLastError();
    const int error = errnoOf(code);
    noteWindowsCode(quint32(code), error);
    return error;
}

struct Handle
{
    HANDLE h = INVALID_HANDLE_VALUE;
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    bool valid() const { return h != INVALID_HANDLE_VALUE; }
    // 0, or the errno of a failed close.
    int close()
    {
        const BOOL ok = CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
        return ok ? 0 : lastErrno();
    }
};

// A temporary file created new (never opening what stands at its name) in dir; removed unless released.
class TempFile
{
public:
    TempFile(const QString &dir, const QString &stem)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = temporaryFileName(dir, stem);
            m_file.h = CreateFileW(wide(m_path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
            if (m_file.valid())
                return;
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                m_error = errnoOf(error);
                m_path.clear();
                return;
            }
        }
        m_path.clear();
        m_error = EEXIST;
    }
    ~TempFile()
    {
        if (m_file.valid())
            m_file.close();
        if (!m_path.isEmpty())
            DeleteFileW(wide(m_path).c_str());
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    int error() const { return m_error; }
    const QString &path() const { return m_path; }

    // Writes, flushes to the disk and closes; 0 or the errno of the first step that failed.
    int fill(const QByteArray &data)
    {
        int failed = injectedWriteFault(WriteStep::Write);
        for (qsizetype done = 0; !failed && done < data.size();) {
            const DWORD chunk = DWORD(qMin<qsizetype>(data.size() - done, 1 << 20));
            DWORD written = 0;
            if (!WriteFile(m_file.h, data.constData() + done, chunk, &written, nullptr) || written == 0)
                failed = lastErrno();
            done += written;
        }
        // Nothing is buffered in the program: the flush step is the system's.
        if (!failed)
            failed = injectedWriteFault(WriteStep::Flush);
        if (!failed)
            failed = injectedWriteFault(WriteStep::Fsync);
        if (!failed && !FlushFileBuffers(m_file.h))
            failed = lastErrno();
        const int closeErrno = m_file.close();
        if (!failed)
            failed = injectedWriteFault(WriteStep::Close);
        if (!failed)
            failed = closeErrno;
        return failed;
    }

    void release() { m_path.clear(); }

private:
    QString m_path;
    Handle m_file;
    int m_error = 0;
};

DWORD attributesOf(const QString &path) { return GetFileAttributesW(wide(path).c_str()); }

// A device (NUL, CON, COM1) or a pipe the user named cannot be replaced: it takes the data as it
// is. False when path is a file on a disk (or nothing), which the caller replaces.
bool writtenInPlace(const QString &path, const QByteArray &data)
{
    Handle h;
    h.h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!h.valid() || GetFileType(h.h) == FILE_TYPE_DISK)
        return false;
    if (GetFileType(h.h) != FILE_TYPE_CHAR && GetFileType(h.h) != FILE_TYPE_PIPE)
        throw writeError(path, QStringLiteral("это особый файл, а не обычный"), false);
    int failed = injectedWriteFault(WriteStep::Write);
    for (qsizetype done = 0; !failed && done < data.size();) {
        const DWORD chunk = DWORD(qMin<qsizetype>(data.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(h.h, data.constData() + done, chunk, &written, nullptr) || written == 0)
            failed = lastErrno();
        done += written;
    }
    const int closeErrno = h.close();
    if (!failed)
        failed = closeErrno;
    if (failed)
        throw writeError(path, writeReason(failed), false, failed);
    return true;
}

bool isLink(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

QString systemOnlyErrorReason(int) { return {}; }

namespace {

// ownOnly: the name itself must not be a link (a reparse point).
QByteArray readRegularFile(const QString &path, qint64 maxSize, bool ownOnly)
{
    const auto fail = [&](const QString &reason, int error = 0) {
        return fileError(path, QStringLiteral("Не могу прочитать файл \"%1\": %2.").arg(shownPath(path), reason),
                         error);
    };
    const auto failErrno = [&](int error) {
        if (error == ENOENT)
            return fileError(path, QStringLiteral("Файл \"%1\" не найден.").arg(shownPath(path)), error);
        return fail(fileErrorReason(error), error);
    };
    if (path.isEmpty())
        throw Error(ErrorKind::BadValue, QStringLiteral("Не указано имя файла."));
    // Device names ("COM1", "NUL") and pipes are refused by what the opened handle says.
    const DWORD attributes = attributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw fileError(path, QStringLiteral("\"%1\" - это папка, а не файл.").arg(shownPath(path)));
    if (ownOnly && isLink(attributes))
        throw fail(QStringLiteral("это ссылка, а не обычный файл"));
    Handle file;
    file.h = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | (ownOnly ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr);
    if (!file.valid())
        throw failErrno(lastErrno());
    const DWORD type = GetFileType(file.h);
    if (type != FILE_TYPE_DISK)
        throw fail(type == FILE_TYPE_PIPE ? QStringLiteral("это канал, а не обычный файл")
                                          : QStringLiteral("это устройство, а не обычный файл"));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.h, &size))
        throw failErrno(lastErrno());
    if (size.QuadPart > maxSize)
        throw fileError(
            path,
            QStringLiteral("Файл \"%1\" слишком велик (%2 байт).").arg(shownPath(path)).arg(qint64(size.QuadPart)));
    QByteArray data;
    data.resize(qsizetype(size.QuadPart) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxSize)
                break;
            data.resize(qMin<qint64>(maxSize + 1, filled * 2 + 4096));
        }
        DWORD got = 0;
        if (!ReadFile(file.h, data.data() + filled, DWORD(qMin<qsizetype>(data.size() - filled, 1 << 20)), &got,
                      nullptr)) {
            const int error = lastErrno();
            throw fail(fileErrorReason(error), error);
        }
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > maxSize)
        throw fileError(path, QStringLiteral("Файл \"%1\" слишком велик.").arg(shownPath(path)));
    data.truncate(filled);
    return data;
}

} // namespace

QByteArray readWholeFile(const QString &path, qint64 maxSize) { return readRegularFile(path, maxSize, false); }

QByteArray readOwnFile(const QString &path, qint64 maxSize) { return readRegularFile(path, maxSize, true); }

QByteArray readFileNoLink(const QString &path, qint64 maxSize) { return readRegularFile(path, maxSize, true); }

void checkFileWritable(const QString &path)
{
    if (path.isEmpty())
        throw Error(ErrorKind::BadValue, QStringLiteral("Не указано имя файла."));
    const DWORD attributes = attributesOf(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink(attributes))
        throw writeError(path, QStringLiteral("это папка, а не файл"), false);
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        throw writeError(path, QStringLiteral("файл только для чтения"), true);
    const QString dir = QFileInfo(path).absolutePath();
    const DWORD dirAttributes = attributesOf(dir);
    if (dirAttributes == INVALID_FILE_ATTRIBUTES) {
        const int error = lastErrno();
        throw writeError(path, error == ENOENT ? QStringLiteral("папка не существует") : fileErrorReason(error), exists,
                         error);
    }
    if (!(dirAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw writeError(path, writeReason(ENOTDIR), exists, ENOTDIR);
    // The rights to a folder are only known by trying: a probe that the system removes itself.
    const QString probe = temporaryFileName(dir, QStringLiteral("mkconf-probe"));
    Handle h;
    h.h = CreateFileW(wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (!h.valid()) {
        const int error = lastErrno();
        throw writeError(path, error == EACCES ? QStringLiteral("нет прав на запись в папку") : fileErrorReason(error),
                         exists, error);
    }
}

void writeFileAtomically(const QString &path, const QByteArray &data)
{
    // Only a file on a disk is ever replaced.
    if (writtenInPlace(path, data))
        return;
    checkFileWritable(path);
    const QFileInfo target(path);
    const bool exists = attributesOf(path) != INVALID_FILE_ATTRIBUTES;
    TempFile temp(target.absolutePath(), target.fileName());
    if (temp.error())
        throw writeError(path, writeReason(temp.error()), exists, temp.error());
    if (const int error = temp.fill(data))
        throw writeError(path, writeReason(error), exists, error);
    // Replaces the name itself: a link standing there is replaced, never written through.
    if (!MoveFileExW(wide(temp.path()).c_str(), wide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const int error = lastErrno();
        throw writeError(path, writeReason(error), exists, error);
    }
    temp.release();
}

QString writeNewFile(const QString &dir, const std::function<QString(int)> &nameFor, const QByteArray &data,
                     int maxTries)
{
    const QString first = QDir(dir).filePath(nameFor(1));
    TempFile temp(dir, QFileInfo(first).fileName());
    if (temp.error())
        throw writeError(first, writeReason(temp.error()), false, temp.error());
    if (const int error = temp.fill(data))
        throw writeError(first, writeReason(error), false, error);
    for (int n = 1; n <= maxTries; ++n) {
        const QString path = QDir(dir).filePath(nameFor(n));
        // Without REPLACE_EXISTING nothing standing at the name, a link included, is replaced.
        if (MoveFileExW(wide(temp.path()).c_str(), wide(path).c_str(), MOVEFILE_WRITE_THROUGH)) {
            temp.release();
            return path;
        }
        const int error = lastErrno();
        // A folder at the name answers "access denied": taken all the same.
        if (error != EEXIST && !(error == EACCES && attributesOf(path) != INVALID_FILE_ATTRIBUTES))
            throw writeError(path, writeReason(error), false, error);
    }
    throw writeError(first, QStringLiteral("нет свободного имени файла"), false);
}

bool moveIfFree(const QString &from, const QString &to)
{
    // Without REPLACE_EXISTING nothing standing at the name, a link included, is replaced.
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    const int error = lastErrno();
    if (error == EEXIST || (error == EACCES && attributesOf(to) != INVALID_FILE_ATTRIBUTES))
        return false;
    throw fileError(to,
                    QStringLiteral("Не могу переименовать файл \"%1\" в \"%2\": %3.")
                        .arg(shownPath(from), shownPath(to), fileErrorReason(error)),
                    error);
}

// The user's profile folders are this user's by their rights (Windows keeps no mode bits to
// check): a folder passes when it exists, is a folder and is no link that could lead elsewhere.
QString privateFolderProblem(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("Папка не задана.");
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return QStringLiteral("Папка \"%1\" не подходит: %2.").arg(shownPath(path), fileErrorReason(lastErrno()));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || isLink(attributes))
        return QStringLiteral("Папка \"%1\" не подходит: это не папка (или ссылка).").arg(shownPath(path));
    return {};
}

QString ownPrivateFolder(const QString &parent, const QString &name, QString *why)
{
    if (const QString problem = privateFolderProblem(parent); !problem.isEmpty()) {
        if (why)
            *why = problem;
        return {};
    }
    const QString path = QDir(parent).filePath(name);
    if (!CreateDirectoryW(wide(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        if (why)
            *why = QStringLiteral("Папка \"%1\" не подходит: %2.").arg(shownPath(path), fileErrorReason(lastErrno()));
        return {};
    }
    if (const QString problem = privateFolderProblem(path); !problem.isEmpty()) {
        if (why)
            *why = problem;
        return {};
    }
    return path;
}

QString ensurePrivateFolder(const QString &path, QString *why)
{
    const auto refuse = [&](const QString &reason) {
        if (why)
            *why = QStringLiteral("Папка \"%1\" не подходит: %2.").arg(shownPath(path), reason);
        return QString();
    };
    if (path.isEmpty())
        return refuse(QStringLiteral("не задана"));
    // The user's profile folders are this user's by their rights; a link could lead elsewhere.
    if (!QDir().mkpath(path))
        return refuse(QStringLiteral("нельзя создать папку"));
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return refuse(fileErrorReason(lastErrno()));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || isLink(attributes))
        return refuse(QStringLiteral("это не папка (или ссылка)"));
    return path;
}

void checkFolderNotShared(const QString &) {}

} // namespace mk
