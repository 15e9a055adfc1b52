// SPDX-License-Identifier: GPL-3.0-or-later
// The program's state folder on Linux: $XDG_STATE_HOME/mkconf, by default ~/.local/state/mkconf.

#include "base/TraceLog.h"

#include <QDir>

namespace mk {

QString userStateFolder()
{
    // A relative XDG_STATE_HOME is invalid and is ignored, as the base directory rules say.
    const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/mkconf"));
}

} // namespace mk
