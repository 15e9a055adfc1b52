// SPDX-License-Identifier: GPL-3.0-or-later
// What the connection check has in common on every system: which errors offer it, and how an
// installed copy on Windows is told (kept here, where the tests of every system reach it).

#include "link/ConnectionCheck.h"

#include "link/LinkTexts.h"
#include "link/SerialPortIo.h"

namespace mk {

Installation installerInstallation(const QString &programPath, const QString &installLocation)
{
    Installation install;
    install.programPath = programPath;
    // Windows paths: either separator, no trailing one, letters in any case.
    const auto windowsPath = [](QString path) {
        path.replace(QLatin1Char('/'), QLatin1Char('\\'));
        while (path.endsWith(QLatin1Char('\\')))
            path.chop(1);
        return path;
    };
    const QString program = windowsPath(programPath);
    const QString location = windowsPath(installLocation);
    const qsizetype slash = program.lastIndexOf(QLatin1Char('\\'));
    if (!location.isEmpty() && slash > 0 && program.left(slash).compare(location, Qt::CaseInsensitive) == 0) {
        install.kind = Installation::Installer;
        install.prefix = location;
    }
    return install;
}

bool isPortOpenFailure(const QString &message)
{
    // The texts built around a port's name match with any name in its place.
    const auto around = [&message](const QString &built) {
        const qsizetype at = built.indexOf(QLatin1Char('\x01'));
        return message.startsWith(built.left(at)) && message.endsWith(built.mid(at + 1));
    };
    const QString placeholder = QStringLiteral("\x01");
    return message == kNoLinkText || message == kDeviceNotSeenText || message == kNoFreePortText ||
           around(permissionDeniedText(placeholder)) || around(portInUseText(placeholder)) ||
           around(QStringLiteral("Порт \x01 не найден."));
}

} // namespace mk
