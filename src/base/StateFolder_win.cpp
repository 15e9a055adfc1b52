// SPDX-License-Identifier: GPL-3.0-or-later
// The program's state folder on Windows: its own folder in the local application data
// (%LOCALAPPDATA%\mkconf), beside its ini and lock.

#include "base/TraceLog.h"

#include <QStandardPaths>

namespace mk {

QString userStateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mkconf");
}

} // namespace mk
