// SPDX-License-Identifier: GPL-3.0-or-later
// Port numbers on Linux: the fixed table of device nodes, and what a node says when opened.

#include "link/PortMap.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mk {

QString systemPortNode(int n)
{
    if (n < 1 || n > kMaxPortNumber)
        return {};
    if (n <= 2)
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n <= 12)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 3);
    if (n <= 22)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 13);
    if (n <= 32)
        return QStringLiteral("/dev/ttyS%1").arg(n - 23 + 2);
    if (n <= 122)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 33 + 10);
    if (n <= 212)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 123 + 10);
    return QStringLiteral("/dev/ttyS%1").arg(n - 213 + 12);
}

QString portLabel(int n)
{
    if (isAssignedPort(n))
        return nodeForPort(n);
    return QStringLiteral("COM%1 (%2)").arg(n).arg(nodeForPort(n));
}

QString portDisplayName(int n)
{
    const QString link = deviceLinkForPort(n);
    if (isAssignedPort(n)) {
        const QString node = nodeForPort(n);
        const QString real = QFileInfo(node).canonicalFilePath();
        if (!link.isEmpty() && link != node)
            return QStringLiteral("%1 (%2)").arg(link, node);
        return real.isEmpty() || real == node ? node : QStringLiteral("%1 (%2)").arg(node, real);
    }
    if (!link.isEmpty())
        return QStringLiteral("COM%1 — %2 (%3)").arg(n).arg(link, nodeForPort(n));
    return QStringLiteral("COM%1 — %2").arg(n).arg(nodeForPort(n));
}

bool probePortNode(const QString &node)
{
    if (node.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(node);
    struct stat st;
    if (::stat(path.constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    // Refused, or held by another program: there is a port. The kernel's phantom on-board
    // ports give EIO, unplugged ones ENXIO or ENODEV.
    return errno == EACCES || errno == EPERM || errno == EBUSY;
}

} // namespace mk
