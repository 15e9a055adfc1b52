// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard's folder on Linux: the session's runtime folder when it is private,
// else "mkconf" in the user's cache folder.

#include "app/TJustOne.h"

#include "base/FileIo.h"

#include <QStandardPaths>

namespace mk {

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
