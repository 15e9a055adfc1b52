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

bool isPortOpenFailure(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::NoLink:
    case ErrorKind::DeviceMissing:
    case ErrorKind::PortBusy:
    case ErrorKind::PortDenied:
    case ErrorKind::PortMissing: return true;
    default: return false;
    }
}

} // namespace mk
