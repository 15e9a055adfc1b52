#include "link/TKW_RS.h"

#include "link/LinkTexts.h"
#include "model/Error.h"

#include <cmath>

namespace mk {

namespace {

constexpr int kAttempts = 3;
constexpr int kRetryPauseMs = 50;
constexpr int kHalfDuplexPauseMs = 20;

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
            return;
        } catch (const Error &) {
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
    for (int i = 1; i < m_rxBuf[0]; ++i) {
        if (!readByteBy(clock().nowMs() + m_interByteTimeout, byte))
            throw Error(kInterByteText);
        m_rxBuf[size_t(i)] = byte;
    }
    m_bytesReceived += m_rxBuf[0];
    if (!CheckReply())
        throw Error(kExchangeErrorText + QStringLiteral("(0)"));
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
