// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of a Windows system for the connection check: the computer, the program and where
// the installer put it (its uninstall record in the user's registry); ports are looked at
// through the system's list of serial ports, not through device files.

#include "link/ConnectionCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

#include <windows.h>

namespace mk {

SystemFacts systemFacts()
{
    SystemFacts facts;
    facts.hostName = QSysInfo::machineHostName();
    if (QCoreApplication::instance())
        facts.programPath = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    // Written by the installer, which installs for this user only. Read with the registry's own
    // read-only call: QSettings opens its key for writing and so would leave an empty uninstall
    // record behind on a computer where the program was never installed.
    wchar_t location[4096];
    DWORD size = sizeof location;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\mkconf",
                     L"InstallLocation", RRF_RT_REG_SZ, nullptr, location, &size) == ERROR_SUCCESS)
        facts.installLocation = QString::fromWCharArray(location);
    facts.ownPid = qint64(GetCurrentProcessId());
    return facts;
}

} // namespace mk
