// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PtyDevice.h"

#include "image/FactoryImage.h"
#include "link/PortMap.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace mk::test {

namespace {

DeviceConfig configFor(quint8 address, quint16 modelCode)
{
    return DeviceConfig{address, modelCode, memorySizeForAddress(address)};
}

QByteArray factoryMemory(quint8 address, quint16 modelCode, quint32 version)
{
    const int size = memorySizeForAddress(address);
    QByteArray memory = memoryFromImage(makeFactoryImage(modelCode, version, size), size);
    // Something the program never reads in the two blocks it skips.
    memory.replace(0, 32, QByteArray(32, char(0xEE)));
    memory.replace(size / 2, 32, QByteArray(32, char(0xDD)));
    return memory;
}

} // namespace

PtyDevice::PtyDevice(quint8 address, quint16 modelCode, quint32 settingsVersion, QByteArray memory,
                     PtySimulatorOptions options)
    : device(configFor(address, modelCode),
             memory.isEmpty() ? factoryMemory(address, modelCode, settingsVersion) : memory),
      sim(device, std::move(options))
{
    sim.start();
    port = 29;
    setPortOverride(port, sim.slavePath());
    link = std::make_unique<TKW_RS>();
    link->port().OpenPort(port);
    link->port().ClosePort();
}

PtyDevice::~PtyDevice()
{
    link.reset();
    sim.stop();
    setPortOverride(port, {});
}

RawTerminal::RawTerminal(const QString &path)
{
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios tio;
    if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_fd, TCSANOW, &tio);
    }
}

RawTerminal::~RawTerminal()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void RawTerminal::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else {
            pollfd fd = {m_fd, POLLOUT, 0};
            if (poll(&fd, 1, 1000) <= 0)
                return;
        }
    }
}

QByteArray RawTerminal::read(int count, int quietMs)
{
    QByteArray got;
    while (m_fd >= 0 && got.size() < count) {
        pollfd fd = {m_fd, POLLIN, 0};
        if (poll(&fd, 1, quietMs) <= 0)
            break;
        char buffer[512];
        const ssize_t n = ::read(m_fd, buffer, size_t(qMin<qsizetype>(sizeof buffer, count - got.size())));
        if (n > 0)
            got.append(buffer, n);
    }
    return got;
}

std::vector<std::pair<int, int>> requestWords(const std::vector<QByteArray> &requests, quint8 command)
{
    std::vector<std::pair<int, int>> words;
    for (const QByteArray &r : requests) {
        if (quint8(r[4]) != command)
            continue;
        const auto w = [&r](int at) { return r.size() > at + 2 ? quint8(r[at]) | (quint8(r[at + 1]) << 8) : -1; };
        words.emplace_back(w(5), w(7));
    }
    return words;
}

} // namespace mk::test
