// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on Linux through QSerialPort; what a refusal to open a node means, and the
// advice for it.

#include "link/SerialPortIo.h"

#include "base/Error.h"
#include "base/SystemError.h"

#include <QFile>
#include <QSerialPort>

#include <chrono>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace mk {

namespace {

// QSerialPort without an event loop: every wait is one of its own blocking waits.
class QtSerialPortIo final : public SerialPortIo
{
public:
    explicit QtSerialPortIo(std::unique_ptr<QSerialPort> port) : m_port(std::move(port)) {}
    ~QtSerialPortIo() override
    {
        if (m_port->isOpen())
            m_port->close();
    }

    quint32 setBaudRate(quint32 baud) override;
    void setByteSize(quint8 bits) override;
    void setParity(quint8 parity) override;
    void setStopBits(quint8 code) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void purgeRx() override;
    void purgeTx() override;
    void write(const QByteArray &bytes) override;
    int read(char *buffer, int max) override;
    void waitForBytes(int timeoutMs) override;

private:
    std::unique_ptr<QSerialPort> m_port;
};

} // namespace

std::unique_ptr<SerialPortIo> SerialPortIo::open(const QString &node, const QString &portLabel)
{
    int code = 0;
    const PortOpening access = tryOpeningNode(node, &code);
    const auto refusal = [&portLabel](ErrorKind kind, int error) {
        ErrorContext context = systemErrorContext(error);
        context.port = portLabel;
        return Error(kind, kind == ErrorKind::PortBusy ? portInUseText(portLabel) : permissionDeniedText(portLabel),
                     context);
    };
    if (access == PortOpening::Forbidden)
        throw refusal(ErrorKind::PortDenied, code);
    if (access == PortOpening::InUse)
        throw refusal(ErrorKind::PortBusy, code);
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(node);
    if (!port->open(QIODevice::ReadWrite)) {
        // The node itself opened a moment ago: a permission error now is another program's lock.
        if (port->error() == QSerialPort::PermissionError)
            throw access == PortOpening::Open ? refusal(ErrorKind::PortBusy, EBUSY)
                                              : refusal(ErrorKind::PortDenied, code);
        return nullptr;
    }
    // The link does its own handshake through RTS when it needs one.
    port->setFlowControl(QSerialPort::NoFlowControl);
    return std::make_unique<QtSerialPortIo>(std::move(port));
}

quint32 QtSerialPortIo::setBaudRate(quint32 baud)
{
    m_port->setBaudRate(qint32(baud));
    const qint32 readBack = m_port->baudRate();
    return readBack > 0 ? quint32(readBack) : 0;
}

void QtSerialPortIo::setByteSize(quint8 bits) { m_port->setDataBits(QSerialPort::DataBits(qBound(5, int(bits), 8))); }

void QtSerialPortIo::setParity(quint8 parity)
{
    static constexpr QSerialPort::Parity kParities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                        QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                        QSerialPort::SpaceParity};
    m_port->setParity(parity < 5 ? kParities[parity] : QSerialPort::NoParity);
}

void QtSerialPortIo::setStopBits(quint8 code)
{
    m_port->setStopBits(code == kOneStopBit           ? QSerialPort::OneStop
                        : code == kOneAndHalfStopBits ? QSerialPort::OneAndHalfStop
                                                      : QSerialPort::TwoStop);
}

void QtSerialPortIo::setDtr(bool on)
{
    m_port->setDataTerminalReady(on);
    m_port->clearError(); // refused on a pseudo-terminal: carry on
}

void QtSerialPortIo::setRts(bool on)
{
    m_port->setRequestToSend(on);
    m_port->clearError();
}

void QtSerialPortIo::purgeRx() { m_port->clear(QSerialPort::Input); }

void QtSerialPortIo::purgeTx() { m_port->clear(QSerialPort::Output); }

void QtSerialPortIo::write(const QByteArray &bytes)
{
    m_port->write(bytes);
    // Without an event loop QSerialPort only writes when asked; a frame is small enough for
    // the driver's queue, so this rarely has to wait at all.
    while (m_port->bytesToWrite() > 0) {
        if (!m_port->flush() && !m_port->waitForBytesWritten(1000))
            break;
    }
}

int QtSerialPortIo::read(char *buffer, int max)
{
    const qint64 n = m_port->read(buffer, max);
    return n > 0 ? int(n) : 0;
}

void QtSerialPortIo::waitForBytes(int timeoutMs)
{
    if (m_port->bytesAvailable() > 0)
        return;
    if (m_port->waitForReadyRead(qMax(0, timeoutMs)) || timeoutMs <= 0)
        return;
    // A port that failed (unplugged) answers at once; wait out the time like a silent one
    // instead of spinning until the deadline.
    const QSerialPort::SerialPortError error = m_port->error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    m_port->clearError();
}

Clock &systemLinkClock() { return steadyClock(); }

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

PortOpening tryOpeningNode(const QString &node, int *systemCode)
{
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (systemCode)
        *systemCode = fd >= 0 ? 0 : errno;
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
