#include "link/TKW_RS.h"

#include "link/LinkTexts.h"
#include "base/Error.h"

#include <cmath>

namespace mk {

namespace {

constexpr int kAttempts = 3;
constexpr int kRetryPauseMs = 50;
constexpr int kHalfDuplexPauseMs = 20;
constexpr int kDrainLimitTimeouts = 5;

} // namespace

TKW_RS::TKW_RS(std::shared_ptr<PortBackend> backend) : TKW_RS_Base(std::move(backend))
{
    setLineDefaults();
    m_sectionName = QStringLiteral("RS232");
}

void TKW_RS::Exchange()
{
    exchange(kAttempts);
}

void TKW_RS::ExchangeOnce()
{
    exchange(1);
}

void TKW_RS::CommandExchange(quint8 address, quint8 command)
{
    BeginCommand(address, command);
    Exchange();
}

void TKW_RS::exchange(int attempts)
{
    CloseFrame();
    if (m_portType != kPortRs232)
        clock().sleepMs(kHalfDuplexPauseMs);
    for (int k = 1;; ++k) {
        try {
            Transact();
            acceptAnswer();
            // The device may still be answering an earlier attempt of this request.
            if (k > 1)
                m_unsettled = true;
            return;
        } catch (const Error &) {
            ++m_disturbances;
            m_unsettled = true;
            if (k >= attempts)
                throw;
            clock().sleepMs(kRetryPauseMs);
        }
    }
}

void TKW_RS::Transact()
{
    SendFrame();
    ReceiveFrame();
    if (m_rxBuf[1] == 0 && m_rxBuf[2] == 0 && m_rxBuf[3] == 0)
        throw Error(kExchangeErrorText + QStringLiteral("(4)"));
    if (m_rxBuf[4] == kBusyStatus)
        throw Error(kBusyText);
}

void TKW_RS::SendFrame()
{
    if (m_unsettled)
        drainLine();
    discardStale();
    const bool halfDuplexEcho = m_portType == kPortRs485WithEcho;
    if (halfDuplexEcho)
        SetRTS();
    const QByteArray frame = request();
    PurgeRx();
    PurgeTx();
    if (PortIo *p = port()) {
        p->write(frame);
        m_bytesSent += quint64(frame.size());
    }
    if (halfDuplexEcho) {
        try {
            ReceiveFrame();
        } catch (const Error &) {
            // The echo is only consumed; its faults do not matter.
        }
        ClearRTS();
    }
}

void TKW_RS::ReceiveFrame()
{
    discardAnswer();
    m_rxBuf[0] = 0;
    // The request spends 9600 / baud ms per byte on the line before the device can answer.
    const qint64 lineMs = m_baudRate ? std::llround(9600.0 / double(m_baudRate) * m_txLen) : 0;
    quint8 byte = 0;
    if (!readByteBy(clock().nowMs() + m_firstByteTimeout + lineMs, byte) || byte < kMinFrameLength)
        throw Error(kNoLinkText);
    m_rxBuf[0] = byte;
    const int length = byte;
    // Once the length is known, the rest is taken as the driver holds it; while the frame is
    // still short, the link sleeps for the time the missing bytes need on the line (less two
    // byte-times, so it does not oversleep the last ones) instead of waking for every byte.
    int have = takeHeldBytes(1, length);
    const qint64 missingUs = byteTimeUs() * (length - have - 2);
    if (missingUs > 0) {
        clock().sleepUs(missingUs);
        have = takeHeldBytes(have, length);
    }
    // Then each byte that is still missing within the inter-byte time-out, as ever.
    while (have < length) {
        if (!readByteBy(clock().nowMs() + m_interByteTimeout, byte))
            throw Error(kInterByteText);
        m_rxBuf[size_t(have)] = byte;
        have = takeHeldBytes(have + 1, length);
    }
    m_bytesReceived += m_rxBuf[0];
    if (!CheckReply())
        throw Error(kExchangeErrorText + QStringLiteral("(0)"));
}

int TKW_RS::takeHeldBytes(int have, int frameLength)
{
    PortIo *p = port();
    if (!p || have >= frameLength)
        return have;
    return have + p->read(reinterpret_cast<char *>(m_rxBuf.data()) + have, frameLength - have);
}

qint64 TKW_RS::byteTimeUs() const
{
    if (m_baudRate == 0)
        return 0;
    // Start bit, data bits, parity bit, stop bits, counted in half bits for the 1.5 stop bits.
    const int stopHalfBits = m_stopBits == kOneStopBit ? 2 : m_stopBits == kOneAndHalfStopBits ? 3 : 4;
    const int halfBits = 2 * (1 + m_byteSize + (m_parity != 0 ? 1 : 0)) + stopHalfBits;
    return qint64(halfBits) * 500000 / qint64(m_baudRate);
}

void TKW_RS::discardStale()
{
    PortIo *p = port();
    if (!p)
        return;
    char buffer[256];
    int n;
    while ((n = p->read(buffer, int(sizeof buffer))) > 0) {
        m_disturbances += quint64(n);
        m_strayBytes += quint64(n);
    }
}

void TKW_RS::drainLine()
{
    m_unsettled = false;
    PortIo *p = port();
    if (!p)
        return;
    Clock &c = clock();
    char buffer[256];
    qint64 quietSince = c.nowMs();
    // A line that never goes quiet (a device stuck sending) must not hold the program: the
    // drain gives up after a few time-outs, and what follows fails or is counted disturbed.
    const qint64 giveUp = quietSince + kDrainLimitTimeouts * qint64(qMax<int>(m_firstByteTimeout, 100));
    for (;;) {
        const int n = p->read(buffer, int(sizeof buffer));
        const qint64 now = c.nowMs();
        if (n > 0) {
            m_disturbances += quint64(n);
            quietSince = now;
        }
        const qint64 left = qMin(quietSince + m_firstByteTimeout, giveUp) - now;
        if (left <= 0)
            return;
        if (n <= 0)
            p->waitForBytes(int(left));
    }
}

bool TKW_RS::lineStaysQuiet(int ms)
{
    PortIo *p = port();
    if (!p)
        return true;
    const quint64 before = m_disturbances;
    const qint64 deadline = clock().nowMs() + ms;
    for (;;) {
        discardStale();
        const qint64 left = deadline - clock().nowMs();
        if (left <= 0)
            break;
        p->waitForBytes(int(left));
    }
    discardStale();
    if (m_disturbances == before)
        return true;
    m_unsettled = true;
    return false;
}

bool TKW_RS::readByteBy(qint64 deadline, quint8 &byte)
{
    Clock &c = clock();
    PortIo *p = port();
    for (;;) {
        char ch;
        if (p && p->read(&ch, 1) == 1) {
            byte = quint8(ch);
            return true;
        }
        const qint64 now = c.nowMs();
        // The read above was the last chance once the deadline is reached; a byte that is
        // there exactly at the deadline has been taken.
        if (now >= deadline)
            return false;
        const int wait = int(deadline - now);
        if (p)
            p->waitForBytes(wait);
        else
            c.sleepMs(wait);
    }
}

} // namespace mk
