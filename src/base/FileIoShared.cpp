// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileIoShared.h"
#include "base/SystemError.h"

#include <QDir>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <mutex>

namespace mk {

namespace {

std::atomic<int> g_faultStep{0};
std::atomic<int> g_faultErrno{0};

void setFault(WriteStep step, int error)
{
    g_faultStep.store(int(step));
    g_faultErrno.store(error);
}

void readFaultFromEnvironment()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QByteArray spec = qgetenv("MK_TEST_FILE_FAULT");
        const qsizetype colon = spec.indexOf(':');
        if (colon <= 0)
            return;
        const QByteArray step = spec.left(colon);
        const int error = spec.mid(colon + 1).toInt();
        const WriteStep s = step == "write"   ? WriteStep::Write
                            : step == "flush" ? WriteStep::Flush
                            : step == "fsync" ? WriteStep::Fsync
                            : step == "close" ? WriteStep::Close
                                              : WriteStep::None;
        if (s != WriteStep::None && error > 0)
            setFault(s, error);
    });
}

} // namespace

QString shownPath(const QString &path) { return QDir::toNativeSeparators(path); }

void injectWriteFault(WriteStep step, int error)
{
    readFaultFromEnvironment(); // read now, so that it never overrides this later
    setFault(step, error);
}

int injectedWriteFault(WriteStep step)
{
    readFaultFromEnvironment();
    return g_faultStep.load() == int(step) ? g_faultErrno.load() : 0;
}

QString writeReason(int error)
{
    return error == EACCES || error == EPERM ? QStringLiteral("нет прав на запись") : fileErrorReason(error);
}

Error fileError(const QString &path, const QString &text, int error)
{
    ErrorContext context = error ? systemErrorContext(error) : ErrorContext();
    context.place = shownPath(path);
    return Error(ErrorKind::FileIo, text, context);
}

Error writeError(const QString &path, const QString &reason, bool oldKept, int error)
{
    return fileError(
        path,
        QStringLiteral("Не могу записать файл \"%1\": %2.%3")
            .arg(shownPath(path), reason, oldKept ? QStringLiteral(" Прежний файл не изменён.") : QString()),
        error);
}

QString temporaryFileName(const QString &dir, const QString &stem)
{
    return QDir(dir).filePath(QStringLiteral(".%1-%2.part")
                                  .arg(stem.left(64))
                                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

QString fileErrorReason(int error)
{
    if (const QString own = systemOnlyErrorReason(error); !own.isEmpty())
        return own;
    switch (error) {
    case ENOSPC: return QStringLiteral("на диске нет свободного места");
    case EACCES:
    case EPERM: return QStringLiteral("нет прав доступа");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case ENOENT: return QStringLiteral("файл или папка не найдены");
    case ENOTDIR: return QStringLiteral("часть пути - не папка");
    case EISDIR: return QStringLiteral("это папка, а не файл");
    case ELOOP: return QStringLiteral("ссылки в пути образуют петлю");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
    case EIO: return QStringLiteral("ошибка ввода-вывода на диске");
    case EFBIG: return QStringLiteral("файл слишком велик для этого диска");
    case EMFILE:
    case ENFILE: return QStringLiteral("открыто слишком много файлов");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("файл занят другой программой");
    case EEXIST: return QStringLiteral("файл уже существует");
    case ENXIO:
    case ENODEV: return QStringLiteral("устройство недоступно");
    case EPIPE: return QStringLiteral("читающая сторона канала закрыта");
    default: return QStringLiteral("системная ошибка %1").arg(error);
    }
}

} // namespace mk
