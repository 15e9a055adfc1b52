#include "link/SerialPortIo.h"

#include "base/Error.h"

#include <QFile>
#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

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

namespace {

enum class NodeAccess { Open, Forbidden, InUse, Other };

// What the system says when the node is opened: Qt reports a permission error both for a
// refusal and for a port another program holds (its lock file or an exclusive open), and the
// user needs different advice for the two.
NodeAccess tryNode(const QString &node)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return NodeAccess::Open;
    }
    if (errno == EACCES || errno == EPERM)
        return NodeAccess::Forbidden;
    if (errno == EBUSY)
        return NodeAccess::InUse;
    return NodeAccess::Other;
#else
    Q_UNUSED(node);
    return NodeAccess::Open;
#endif
}

} // namespace

SerialPortIo::SerialPortIo(std::unique_ptr<QSerialPort> port) : m_port(std::move(port)) {}

SerialPortIo::~SerialPortIo()
{
    if (m_port && m_port->isOpen())
        m_port->close();
}

std::unique_ptr<SerialPortIo> SerialPortIo::open(const QString &node, const QString &portLabel)
{
    const NodeAccess access = tryNode(node);
    if (access == NodeAccess::Forbidden)
        throw Error(permissionDeniedText(portLabel));
    if (access == NodeAccess::InUse)
        throw Error(portInUseText(portLabel));
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(node);
    if (!port->open(QIODevice::ReadWrite)) {
        // The node itself opened a moment ago: a permission error now is another program's lock.
        if (port->error() == QSerialPort::PermissionError)
            throw Error(access == NodeAccess::Open ? portInUseText(portLabel) : permissionDeniedText(portLabel));
        return nullptr;
    }
    // The link does its own handshake through RTS when it needs one.
    port->setFlowControl(QSerialPort::NoFlowControl);
    return std::unique_ptr<SerialPortIo>(new SerialPortIo(std::move(port)));
}

quint32 SerialPortIo::setBaudRate(quint32 baud)
{
    m_port->setBaudRate(qint32(baud));
    const qint32 readBack = m_port->baudRate();
    return readBack > 0 ? quint32(readBack) : 0;
}

void SerialPortIo::setByteSize(quint8 bits) { m_port->setDataBits(QSerialPort::DataBits(qBound(5, int(bits), 8))); }

void SerialPortIo::setParity(quint8 parity)
{
    static constexpr QSerialPort::Parity kParities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                        QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                        QSerialPort::SpaceParity};
    m_port->setParity(parity < 5 ? kParities[parity] : QSerialPort::NoParity);
}

void SerialPortIo::setStopBits(quint8 code)
{
    m_port->setStopBits(code == kOneStopBit           ? QSerialPort::OneStop
                        : code == kOneAndHalfStopBits ? QSerialPort::OneAndHalfStop
                                                      : QSerialPort::TwoStop);
}

void SerialPortIo::setDtr(bool on)
{
    m_port->setDataTerminalReady(on);
    m_port->clearError(); // refused on a pseudo-terminal: carry on
}

void SerialPortIo::setRts(bool on)
{
    m_port->setRequestToSend(on);
    m_port->clearError();
}

void SerialPortIo::purgeRx() { m_port->clear(QSerialPort::Input); }

void SerialPortIo::purgeTx() { m_port->clear(QSerialPort::Output); }

void SerialPortIo::write(const QByteArray &bytes)
{
    m_port->write(bytes);
    // Without an event loop QSerialPort only writes when asked; a frame is small enough for
    // the driver's queue, so this rarely has to wait at all.
    while (m_port->bytesToWrite() > 0) {
        if (!m_port->flush() && !m_port->waitForBytesWritten(1000))
            break;
    }
}

int SerialPortIo::read(char *buffer, int max)
{
    const qint64 n = m_port->read(buffer, max);
    return n > 0 ? int(n) : 0;
}

void SerialPortIo::waitForBytes(int timeoutMs)
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

} // namespace mk
