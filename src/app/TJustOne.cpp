#include "app/TJustOne.h"

#include <QDir>
#include <QStandardPaths>

namespace mk {

TJustOne::TJustOne(const QString &name, const QString &lockDir)
    : m_lock(std::make_unique<QLockFile>(QDir(lockDir).filePath(name + QStringLiteral(".lock"))))
{
    // A lock left behind by a copy that crashed is recognised by its process id and taken over;
    // the age of the lock file says nothing, since the first copy may run for days.
    m_lock->setStaleLockTime(0);
    m_owned = m_lock->tryLock(0);
}

TJustOne::~TJustOne()
{
    if (m_owned)
        m_lock->unlock();
}

QString TJustOne::lockPath() const { return m_lock->fileName(); }

QString TJustOne::defaultLockDir()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace mk
