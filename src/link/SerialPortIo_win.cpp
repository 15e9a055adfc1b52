// Opening a COM port on Windows: a port is opened by one program at a time, and the system
// answers "access denied" to every other one; the user is not missing any right.

#include "link/SerialPortIo.h"

#include <string>
#include <windows.h>

namespace mk {

QString permissionDeniedText(const QString &portLabel)
{
    return QStringLiteral("Windows не даёт открыть порт %1. Закройте программы, которые могут работать с ним, "
                          "и повторите; если не поможет, переподключите МК или перезагрузите компьютер.")
        .arg(portLabel);
}

QString portInUseText(const QString &portLabel)
{
    return QStringLiteral("Порт %1 занят другой программой (терминалом, другой программой настройки или "
                          "диагностики). Закройте её и повторите.")
        .arg(portLabel);
}

PortOpening tryOpeningNode(const QString &node)
{
    const QString name = node.startsWith(QLatin1String("\\\\")) ? node : QStringLiteral("\\\\.\\") + node;
    const HANDLE h = CreateFileW(name.toStdWString().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return PortOpening::Open;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY)
        return PortOpening::InUse;
    return PortOpening::Other;
}

} // namespace mk
