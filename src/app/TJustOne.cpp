// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TJustOne.h"

#include "base/FileIo.h"

#include <QDir>

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

} // namespace mk
