// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkSettings.h"

#include "link/SerialPort.h"

#include <QSettings>

namespace mk {

void LoadSettings(SerialPort &port, QSettings &ini)
{
    ini.beginGroup(kLinkSettingsGroup);
    const int n = ini.value(QStringLiteral("Port"), port.PortNumber()).toInt();
    ini.endGroup();
    // A number no port can have (an edited or damaged file) keeps the port chosen so far.
    if (n >= 1 && n <= kMaxPortNumber)
        port.SelectPort(n);
}

void SaveSettings(const SerialPort &port, QSettings &ini)
{
    ini.beginGroup(kLinkSettingsGroup);
    ini.setValue(QStringLiteral("Port"), port.PortNumber());
    ini.endGroup();
}

} // namespace mk
