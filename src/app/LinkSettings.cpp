// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkSettings.h"

#include "link/SerialPort.h"

#include <QSettings>

namespace mk {

void LoadSettings(SerialPort &port, QSettings &ini)
{
    ini.beginGroup(kLinkSettingsGroup);
    const QVariant stored = ini.value(QStringLiteral("Port"), port.PortNumber());
    ini.endGroup();
    bool number = false;
    int n = stored.toInt(&number);
    // A node with no number of its own is kept by its path (Linux): the same node gets a number
    // again, whether it is present now or appears later.
    const QString text = stored.toString().trimmed();
    if (!number && text.startsWith(QLatin1Char('/')) && systemPortNode(1).startsWith(QLatin1Char('/')))
        n = assignPortForNode(text);
    // A number no port can have (an edited or damaged file) keeps the port chosen so far.
    if (n >= 1 && n <= kMaxPortNumber)
        port.SelectPort(n);
}

void SaveSettings(const SerialPort &port, QSettings &ini)
{
    ini.beginGroup(kLinkSettingsGroup);
    // As chosen: the number, or the path of a node that has none of its own.
    const int n = port.PortNumber();
    if (isAssignedPort(n))
        ini.setValue(QStringLiteral("Port"), nodeForPort(n));
    else
        ini.setValue(QStringLiteral("Port"), n);
    ini.endGroup();
}

} // namespace mk
