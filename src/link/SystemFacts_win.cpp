// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of a Windows system for the connection check: the computer, the program and where
// the installer put it (its uninstall record in the user's registry); ports are looked at
// through the system's list of serial ports, not through device files.

#include "link/ConnectionCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSysInfo>

#include <windows.h>

namespace mk {

SystemFacts systemFacts()
{
    SystemFacts facts;
    facts.hostName = QSysInfo::machineHostName();
    if (QCoreApplication::instance())
        facts.programPath = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    // Written by the installer, which installs for this user only.
    const QSettings uninstall(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\mkconf"),
        QSettings::NativeFormat);
    facts.installLocation = uninstall.value(QStringLiteral("InstallLocation")).toString();
    facts.ownPid = qint64(GetCurrentProcessId());
    return facts;
}

} // namespace mk
