#include "app/TJustOne.h"

#include "base/FileIo.h"

#include <QDir>
#include <QStandardPaths>

namespace mk {

TJustOne::TJustOne(const QString &name, const QString &lockDir)
{
    // Only a folder that is already this user's alone: nothing is made or chmodded here.
    if (lockDir.isEmpty() || !privateFolderProblem(lockDir).isEmpty()) {
        m_owned = true;
        return;
    }
    m_lock = std::make_unique<QLockFile>(QDir(lockDir).filePath(name + QStringLiteral(".lock")));
    // A lock left behind by a copy that crashed is recognised by its process id and taken over;
    // the age of the lock file says nothing, since the first copy may run for days.
    m_lock->setStaleLockTime(0);
    m_owned = m_lock->tryLock(0);
}

TJustOne::~TJustOne()
{
    if (m_lock && m_owned)
        m_lock->unlock();
}

QString TJustOne::lockPath() const { return m_lock ? m_lock->fileName() : QString(); }

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
