// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard's folder on Windows: "mkconf" in the user's local application-data
// folder, which the system gives to this user alone.

#include "app/TJustOne.h"

#include "base/FileIo.h"

#include <QStandardPaths>

namespace mk {

QString TJustOne::defaultLockDir(QString *why)
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (local.isEmpty()) {
        if (why)
            *why = QStringLiteral("Папка данных пользователя (LOCALAPPDATA) не найдена.");
        return {};
    }
    return ownPrivateFolder(local, QStringLiteral("mkconf"), why);
}

} // namespace mk
