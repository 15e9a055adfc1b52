// SPDX-License-Identifier: GPL-3.0-or-later
// Where automatic search looks on Windows: the registry's record of the device's USB instances
// (each display name carries its COM port), then the ports the system lists with their USB
// identity, for a driver that names the port otherwise.

#include "link/PortDiscovery.h"

#include <QSettings>

namespace mk {

void nameListedNode(SerialNodeInfo &n, const QString &portName, const QString &)
{
    n.node = portName; // "COM5", the port number's own name
}

namespace {

// The instances under HKLM\SYSTEM\CurrentControlSet\Enum\USB\Vid_04d8&Pid_000a with their
// "FriendlyName", in the registry's order.
QList<QPair<QString, QString>> registryDeviceInstances()
{
    QList<QPair<QString, QString>> instances;
    // Read only: the key belongs to the system.
    QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_04d8&Pid_000a"),
                  QSettings::NativeFormat);
    for (const QString &name : key.childGroups())
        instances << qMakePair(name, key.value(name + QStringLiteral("/FriendlyName")).toString());
    return instances;
}

} // namespace

DeviceSearchSource systemDeviceSearchSource()
{
    DeviceSearchSource source;
    source.registryInstances = registryDeviceInstances;
    return source;
}

} // namespace mk
