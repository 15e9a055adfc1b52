// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TJustOne.h"

#include "base/Error.h"
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
    const QString path = QDir(lockDir).filePath(name + QStringLiteral(".lock"));
    try {
        m_lock = takeLock(path);
    } catch (const Error &) {
        m_owned = true; // a lock file that cannot be had at all guards nothing: run unguarded
        return;
    }
    m_lockPath = path;
    m_owned = m_lock != nullptr;
}

} // namespace mk
