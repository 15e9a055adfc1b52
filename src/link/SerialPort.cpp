// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SerialPort.h"

#include "base/Error.h"
#include "link/LinkTexts.h"

namespace mk {

SerialPort::SerialPort(std::shared_ptr<PortBackend> backend) : m_backend(std::move(backend)) {}

SerialPort::~SerialPort() { ClosePort(); }

int SerialPort::ScanPorts()
{
    ClosePort();
    m_portCount = 0;
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        m_portPresent[size_t(n)] = m_backend->probe(n);
        if (m_portPresent[size_t(n)])
            ++m_portCount;
    }
    return m_portCount;
}

int SerialPort::FirstPort() const
{
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (m_portPresent[size_t(n)])
            return n;
    return 0;
}

void SerialPort::OpenPort(int n)
{
    if (n > 0)
        openSelected(n);
}

void SerialPort::openSelected(int n)
{
    // Probing opens a port briefly, so it waits until a port is wanted; a port the last scan
    // missed may have been plugged in since.
    if (!PortPresent(n))
        ScanPorts();
    m_portNumber = PortPresent(n) ? n : FirstPort();
    if (m_portNumber == 0)
        throw Error(ErrorKind::DeviceMissing, kNoFreePortText);
    ClosePort();
    m_io = m_backend->open(m_portNumber);
    if (!m_io)
        return;
    // The port is usable from here on; the settings below go to the driver.
    m_isOpen = true;
    SetBaudRate(m_baudRate);
    SetByteSize(m_byteSize);
    SetParity(m_parity);
    SetStopBits(m_stopBits);
    SetDTR();
    PurgeRx();
}

void SerialPort::SelectPort(int n)
{
    if (n <= 0)
        return;
    ClosePort();
    m_portNumber = n;
}

void SerialPort::Reopen(bool open)
{
    if (open)
        openSelected(m_portNumber);
    else
        ClosePort();
}

void SerialPort::ClosePort()
{
    m_io.reset();
    m_isOpen = false;
}

void SerialPort::SetBaudRate(quint32 b)
{
    m_baudRate = b;
    if (PortIo *p = io()) {
        const quint32 readBack = p->setBaudRate(b);
        if (readBack != 0)
            m_baudRate = readBack;
    }
}

void SerialPort::SetByteSize(quint8 v)
{
    m_byteSize = v;
    if (PortIo *p = io())
        p->setByteSize(v);
}

void SerialPort::SetParity(quint8 v)
{
    m_parity = v;
    if (PortIo *p = io())
        p->setParity(v);
}

void SerialPort::SetStopBits(quint8 v)
{
    m_stopBits = v;
    if (PortIo *p = io())
        p->setStopBits(v);
}

void SerialPort::SetDTR()
{
    if (PortIo *p = io())
        p->setDtr(true);
}

void SerialPort::SetRTS()
{
    if (PortIo *p = io())
        p->setRts(true);
}

void SerialPort::ClearRTS()
{
    if (PortIo *p = io())
        p->setRts(false);
}

void SerialPort::PurgeRx()
{
    if (PortIo *p = io())
        p->purgeRx();
}

void SerialPort::PurgeTx()
{
    if (PortIo *p = io())
        p->purgeTx();
}

qint64 lineByteTimeUs(quint32 baud, quint8 byteSize, bool parity, quint8 stopBitsCode)
{
    if (baud == 0)
        return 0;
    // Counted in half bits for the 1.5 stop bits.
    const int stopHalfBits = stopBitsCode == kOneStopBit ? 2 : stopBitsCode == kOneAndHalfStopBits ? 3 : 4;
    const int halfBits = 2 * (1 + byteSize + (parity ? 1 : 0)) + stopHalfBits;
    return qint64(halfBits) * 500000 / qint64(baud);
}

qint64 SerialPort::byteTimeUs() const { return lineByteTimeUs(m_baudRate, m_byteSize, m_parity != 0, m_stopBits); }

} // namespace mk
