// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one serial port of the program: which of the ports 1..256 exist, opening one with the
// fixed line settings (115200 baud, 8 data bits, no parity, two stop bits), the baud rate,
// DTR/RTS and purges. It knows nothing of frames.
// The port is opened at the start of an exchange and closed at its end, on the thread that
// runs the exchange, so other programs may use it in between. No port is looked at before
// then: the ports are scanned when one is to be opened or a port list is asked for.

#include "link/PortBackend.h"
#include "link/PortMap.h"

#include <QString>
#include <array>
#include <memory>

namespace mk {

constexpr quint32 kLinkBaudRate = 115200;

// Microseconds one byte takes on a line with these settings (0 without a rate): start bit, data
// bits, the parity bit when there is one, stop bits.
qint64 lineByteTimeUs(quint32 baud, quint8 byteSize, bool parity, quint8 stopBitsCode);

// Finds, opens and configures the port; the request/answer protocol talks through io().
class SerialPort
{
public:
    explicit SerialPort(std::shared_ptr<PortBackend> backend = systemPortBackend());
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // Probes ports 1..kMaxPortNumber (closing the open port first); returns how many are present.
    int ScanPorts();
    // The lowest port the last scan found, or 0.
    int FirstPort() const;
    // Selects port n (the first present port when n is absent) and opens it with the stored
    // line settings, DTR raised and the receive queue purged. n <= 0 changes nothing. A port
    // the last scan did not find (or no scan yet) makes a new scan first, so a device plugged
    // in since is found.
    // Throws Error "Нет свободного COM-порта!" when no port is present, and Error when the
    // user may not open the port. Any other failure leaves the port closed silently; the next
    // exchange then reports no link.
    void OpenPort(int n);
    // Selects port n without opening or probing it: the next exchange opens it (or the first
    // present port when n is absent then) and reports what stands in the way. n <= 0 changes
    // nothing.
    void SelectPort(int n);
    // true: OpenPort with PortNumber (the first present port when none is selected yet);
    // false: ClosePort.
    void Reopen(bool open);
    void ClosePort();

    // Applies b; BaudRate then holds what the driver accepted.
    void SetBaudRate(quint32 b);
    void SetByteSize(quint8 v);
    void SetParity(quint8 v);
    void SetStopBits(quint8 v);
    void SetDTR();
    void SetRTS();
    void ClearRTS();
    void PurgeRx();
    void PurgeTx();

    // What the last scan found; nothing before the first scan.
    int PortCount() const { return m_portCount; }
    bool PortPresent(int n) const { return n >= 1 && n <= kMaxPortNumber && m_portPresent[size_t(n)]; }
    bool IsOpen() const { return m_isOpen; }
    // The selected port; 0 until one is selected or opened.
    int PortNumber() const { return m_portNumber; }
    quint32 BaudRate() const { return m_baudRate; }
    quint8 Parity() const { return m_parity; }
    // Microseconds one byte takes on the line with the current settings (0 without a rate).
    qint64 byteTimeUs() const;

    // How messages and lists name port n ("COM3 (/dev/ttyACM0)" on Linux).
    QString label(int n) const { return m_backend->label(n); }
    // How the port list names it ("COM3 — /dev/ttyACM0" on Linux).
    QString displayName(int n) const { return m_backend->displayName(n); }
    // The device's stable name leading to port n ("/dev/mk-0"), or empty.
    QString deviceLink(int n) const { return m_backend->deviceLink(n); }

    // The open port, or null: reads of a closed port give nothing, so an exchange ends in no link.
    PortIo *io() const { return m_isOpen ? m_io.get() : nullptr; }
    PortBackend &backend() const { return *m_backend; }
    Clock &clock() const { return m_backend->clock(); }

private:
    void openSelected(int n);

    std::shared_ptr<PortBackend> m_backend;
    std::unique_ptr<PortIo> m_io;
    int m_portCount = 0;
    std::array<bool, kMaxPortNumber + 1> m_portPresent{};
    bool m_isOpen = false;
    int m_portNumber = 0;
    quint32 m_baudRate = kLinkBaudRate;
    quint8 m_byteSize = 8;
    quint8 m_parity = 0;
    quint8 m_stopBits = kTwoStopBits;
};

} // namespace mk
