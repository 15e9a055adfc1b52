#include "app/TJustOne.h"

#include "base/FileIo.h"

#include <QDir>
#include <QStandardPaths>

namespace mk {

TJustOne::TJustOne(const QString &name, const QString &lockDir)
{
    if (lockDir.isEmpty() || ensurePrivateFolder(lockDir).isEmpty()) {
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

QString TJustOne::defaultLockDir()
{
    // Read directly: without it Qt would make one in the shared temporary folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && !ensurePrivateFolder(runtime).isEmpty())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    return ensurePrivateFolder(cache + QStringLiteral("/mkconf"));
}

} // namespace mk
