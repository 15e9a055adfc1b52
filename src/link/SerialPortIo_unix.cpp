// Opening a serial node on Linux: what a refusal means, and the advice for it.

#include "link/SerialPortIo.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace mk {

QString permissionDeniedText(const QString &portLabel)
{
    return QStringLiteral("Нет прав на открытие порта %1. В Linux последовательные порты доступны "
                          "участникам группы dialout: выполните \"sudo usermod -aG dialout $USER\" "
                          "и войдите в систему заново.")
        .arg(portLabel);
}

QString portInUseText(const QString &portLabel)
{
    return QStringLiteral("Порт %1 занят другой программой. Закройте её и повторите.").arg(portLabel);
}

PortOpening tryOpeningNode(const QString &node)
{
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return PortOpening::Open;
    }
    if (errno == EACCES || errno == EPERM)
        return PortOpening::Forbidden;
    if (errno == EBUSY)
        return PortOpening::InUse;
    return PortOpening::Other;
}

} // namespace mk
