// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One open serial port as the link sees it: line settings, modem lines, purges, writes,
// non-blocking reads and a wait for bytes that the operating system does (no polling).

#include <QByteArray>
#include <QtGlobal>

namespace mk {

// Stop-bit codes of the line settings: 0 = one, 1 = one and a half, 2 = two.
enum StopBitsCode : quint8 { kOneStopBit = 0, kOneAndHalfStopBits = 1, kTwoStopBits = 2 };

class PortIo
{
public:
    virtual ~PortIo() = default;

    // Applies the rate; returns the rate the driver reports afterwards (0 when it tells none).
    virtual quint32 setBaudRate(quint32 baud) = 0;
    // Data bits 5..8, parity code (0 none, 1 odd, 2 even, 3 mark, 4 space), stop-bit code.
    virtual void setByteSize(quint8 bits) = 0;
    virtual void setParity(quint8 parity) = 0;
    virtual void setStopBits(quint8 code) = 0;
    // Pseudo-terminals and some adapters refuse the modem lines; the link carries on then.
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual void purgeRx() = 0;
    virtual void purgeTx() = 0;
    // Hands all bytes to the driver before returning.
    virtual void write(const QByteArray &bytes) = 0;
    // Takes at most max bytes the driver already holds; never blocks; returns the count.
    virtual int read(char *buffer, int max) = 0;
    // Blocks until bytes can be read or timeoutMs have passed (0: returns at once).
    virtual void waitForBytes(int timeoutMs) = 0;
};

} // namespace mk
