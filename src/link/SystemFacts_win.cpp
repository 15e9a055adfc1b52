// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of a Windows system for the connection check: the computer and the program; ports
// are looked at through the system's list of serial ports, not through device files.

#include "link/ConnectionCheck.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <windows.h>

namespace mk {

SystemFacts systemFacts()
{
    SystemFacts facts;
    facts.hostName = QSysInfo::machineHostName();
    if (QCoreApplication::instance())
        facts.programPath = QCoreApplication::applicationFilePath();
    facts.ownPid = qint64(GetCurrentProcessId());
    return facts;
}

} // namespace mk
