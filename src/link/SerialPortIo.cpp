#include "link/SerialPortIo.h"

#include "base/Error.h"

#include <QFile>
#include <QSerialPort>

#include <chrono>
#include <thread>

namespace mk {

SerialPortIo::SerialPortIo(std::unique_ptr<QSerialPort> port) : m_port(std::move(port)) {}

SerialPortIo::~SerialPortIo()
{
    if (m_port && m_port->isOpen())
        m_port->close();
}

std::unique_ptr<SerialPortIo> SerialPortIo::open(const QString &node, const QString &portLabel)
{
    const PortOpening access = tryOpeningNode(node);
    if (access == PortOpening::Forbidden)
        throw Error(permissionDeniedText(portLabel));
    if (access == PortOpening::InUse)
        throw Error(portInUseText(portLabel));
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(node);
    if (!port->open(QIODevice::ReadWrite)) {
        // The node itself opened a moment ago: a permission error now is another program's lock.
        if (port->error() == QSerialPort::PermissionError)
            throw Error(access == PortOpening::Open ? portInUseText(portLabel) : permissionDeniedText(portLabel));
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
