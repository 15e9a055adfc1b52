// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard on Linux: Qt's lock file, in the session's runtime folder when it is
// private, else in "mkconf" in the user's cache folder.

#include "app/TJustOne.h"

#include "base/Error.h"
#include "base/FileIo.h"

#include <QLockFile>
#include <QStandardPaths>

namespace mk {

class TJustOne::Lock
{
public:
    explicit Lock(const QString &path) : m_file(path) {}
    ~Lock() { m_file.unlock(); }
    QLockFile m_file;
};

TJustOne::HeldLock TJustOne::takeLock(const QString &path)
{
    HeldLock lock(new Lock(path));
    // A lock left behind by a copy that crashed is recognised by its process id and taken over;
    // the age of the lock file says nothing, since the first copy may run for days.
    lock->m_file.setStaleLockTime(0);
    if (lock->m_file.tryLock(0))
        return lock;
    if (lock->m_file.error() == QLockFile::LockFailedError)
        return nullptr;
    throw Error(QStringLiteral("Не удалось создать файл блокировки \"%1\".").arg(path));
}

void TJustOne::Release::operator()(Lock *lock) const { delete lock; }

QString TJustOne::defaultLockDir(QString *why)
{
    // Read directly: without it Qt would make one in the shared temporary folder. It is used as
    // it is: a folder the session did not make private is not ours to change.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString runtimeProblem =
        runtime.isEmpty() ? QStringLiteral("XDG_RUNTIME_DIR не задана.") : privateFolderProblem(runtime);
    if (runtimeProblem.isEmpty())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QString cacheProblem;
    const QString own = cache.isEmpty() ? QString() : ownPrivateFolder(cache, QStringLiteral("mkconf"), &cacheProblem);
    if (own.isEmpty() && why)
        *why = runtimeProblem + QLatin1Char(' ') + cacheProblem;
    return own;
}

} // namespace mk
