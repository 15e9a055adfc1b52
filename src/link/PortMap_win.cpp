// SPDX-License-Identifier: GPL-3.0-or-later
// Port numbers on Windows: the number is the COM port itself, and a port is present when the
// system opens its name.

#include "link/PortMap.h"

#include <string>
#include <windows.h>

namespace mk {

namespace {

// "\\.\COM12": the form every port number takes, two digits included.
std::wstring deviceName(const QString &node)
{
    const QString name = node.startsWith(QLatin1String("\\\\")) ? node : QStringLiteral("\\\\.\\") + node;
    return name.toStdWString();
}

} // namespace

QString systemPortNode(int n)
{
    if (n < 1 || n > kMaxPortNumber)
        return {};
    return QStringLiteral("COM%1").arg(n);
}

QString portLabel(int n)
{
    const QString node = nodeForPort(n);
    if (isAssignedPort(n))
        return node;
    return node.compare(systemPortNode(n), Qt::CaseInsensitive) == 0 ? node
                                                                     : QStringLiteral("COM%1 (%2)").arg(n).arg(node);
}

QString portDisplayName(int n) { return portLabel(n); }

bool probePortNode(const QString &node)
{
    if (node.isEmpty())
        return false;
    // No rights asked for: the port is only looked at, never taken from whoever holds it.
    const HANDLE h =
        CreateFileW(deviceName(node).c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    // Held by another program: there is a port, and opening it will say who holds it.
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

} // namespace mk
