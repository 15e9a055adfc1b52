// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LinkProtocol.h"

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/LinkTrace.h"

#include <cmath>

namespace mk {

namespace {

constexpr int kAttempts = 3;
constexpr int kRetryPauseMs = 50;
constexpr int kHalfDuplexPauseMs = 20;
constexpr int kDrainLimitTimeouts = 5;
// Quiet that ends a drain after attempts that were all answered: longer than any gap inside a
// frame or between an answer and its copy, a USB adapter's 16 ms latency timer included.
constexpr int kAnsweredQuietMs = 30;
// Longest quiet awaited for an answer owed past a long time-out (a section write's): by then
// the answer is already that time-out late, and a late answer caught after the drain is
// refused by the request's checks or, in a section write, by the section's end.
constexpr int kOwedQuietMaxMs = 500;

// What bytes nobody asked for are: a copy of the answer taken last, or else `otherwise`.
QString unaskedVerdict(const QByteArray &bytes, const QByteArray &lastTaken, const char *otherwise)
{
    return QLatin1String(!lastTaken.isEmpty() && bytes.startsWith(lastTaken) ? "duplicate" : otherwise);
}

} // namespace

Q_LOGGING_CATEGORY(lcLink, "mk.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcExchange, "mk.exchange", QtWarningMsg)

void LinkProtocol::Exchange() { exchange(kAttempts); }

void LinkProtocol::ExchangeOnce() { exchange(1); }

void LinkProtocol::CommandExchange(quint8 address, quint8 command)
{
    m_frame.BeginCommand(address, command);
    Exchange();
}

void LinkProtocol::exchange(int attempts)
{
    m_frame.CloseFrame();
    if (m_portType != kPortRs232)
        m_port.clock().sleepMs(kHalfDuplexPauseMs);
    m_heardInExchange = false;
    for (int k = 1;; ++k) {
        m_answerBegun = false;
        try {
            Transact();
            m_heardInExchange = true;
            m_frame.acceptAnswer();
            // The device may still be answering an earlier attempt of this request.
            if (k > 1)
                m_unsettled = true;
            return;
        } catch (Error &e) {
            ++m_disturbances;
            m_unsettled = true;
            m_answerOwed = m_answerOwed || !m_answerBegun;
            m_heardInExchange = m_heardInExchange || m_answerBegun;
            if (k >= attempts) {
                // What the layers above cannot know: the port, the request and the attempt.
                ErrorContext &where = e.context();
                if (where.port.isEmpty() && m_port.PortNumber() > 0)
                    where.port = m_port.label(m_port.PortNumber());
                if (where.command.isEmpty())
                    where.command = QStringLiteral("0x%1").arg(
                        QString::number(m_frame.TxBuf()[4], 16).toUpper().rightJustified(2, u'0'));
                where.attempt = k;
                qCDebug(lcLink).noquote() << QStringLiteral("give up after %1 attempt(s): %2").arg(k).arg(e.text());
                throw;
            }
            qCDebug(lcLink).noquote()
                << QStringLiteral("retry %1 of %2 in %3 ms").arg(k + 1).arg(attempts).arg(kRetryPauseMs);
            m_port.clock().sleepMs(kRetryPauseMs);
        }
    }
}

void LinkProtocol::Transact()
{
    SendFrame();
    ReceiveFrame();
    const auto &answer = m_frame.RxBuf();
    const auto trace = [this](const char *verdict) {
        qCDebug(lcLink).noquote() << QStringLiteral("recv %1  %2 after %3 ms")
                                         .arg(QLatin1String(hexBytes(m_frame.answer())), QLatin1String(verdict))
                                         .arg(m_port.clock().nowMs() - m_sentAtMs);
    };
    if (answer[1] == 0 && answer[2] == 0 && answer[3] == 0) {
        trace("wrong shape");
        throw Error(ErrorKind::Refused, kExchangeErrorText + QStringLiteral("(4)"));
    }
    if (answer[4] == kBusyStatus) {
        trace("busy");
        throw Error(ErrorKind::DeviceBusy, kBusyText);
    }
    // An answer of another shape than this request's belongs to another request (a late or
    // repeated answer): the byte that gives it away is named, and the attempt counts as failed.
    const int values = m_frame.expectedValues();
    const bool otherLength = values >= 0 && answer[0] != kMinFrameLength + values;
    if (otherLength || (values >= 0 && answer[4] != m_frame.TxBuf()[4])) {
        ++m_refusedAnswers;
        m_lastRefused = m_frame.answer();
        trace(!m_lastTaken.isEmpty() && m_lastRefused == m_lastTaken ? "wrong shape (duplicate)" : "wrong shape");
        throw Error(ErrorKind::Refused,
                    kExchangeErrorText + (otherLength ? QStringLiteral("(0)") : QStringLiteral("(4)")));
    }
    if (lcLink().isDebugEnabled()) {
        m_lastTaken = m_frame.answer();
        trace("accepted");
    }
}

void LinkProtocol::SendFrame()
{
    if (m_unsettled)
        drainLine();
    discardStale();
    const bool halfDuplexEcho = m_portType == kPortRs485WithEcho;
    if (halfDuplexEcho)
        m_port.SetRTS();
    const QByteArray frame = m_frame.request();
    m_port.PurgeRx();
    m_port.PurgeTx();
    if (PortIo *p = m_port.io()) {
        p->write(frame);
        m_bytesSent += quint64(frame.size());
    }
    m_sentAtMs = m_port.clock().nowMs();
    qCDebug(lcLink).noquote() << QStringLiteral("send %1").arg(QLatin1String(hexBytes(frame)));
    if (halfDuplexEcho) {
        try {
            ReceiveFrame();
            qCDebug(lcLink).noquote() << QStringLiteral("recv %1  echo").arg(QLatin1String(hexBytes(m_frame.answer())));
        } catch (const Error &) {
            // The echo is only consumed; its faults do not matter.
        }
        m_port.ClearRTS();
    }
}

void LinkProtocol::ReceiveFrame()
{
    quint8 *answer = m_frame.beginAnswer();
    m_answerBegun = false;
    // The request spends 9600 / baud ms per byte on the line before the device can answer.
    const quint32 baud = m_port.BaudRate();
    const qint64 lineMs = baud ? std::llround(9600.0 / double(baud) * m_frame.TxLen()) : 0;
    Clock &clock = m_port.clock();
    quint8 byte = 0;
    if (!readByteBy(clock.nowMs() + m_firstByteTimeout + lineMs, byte)) {
        qCDebug(lcLink).noquote() << QStringLiteral("recv --  no answer in %1 ms").arg(clock.nowMs() - m_sentAtMs);
        throw Error(ErrorKind::NoLink, kNoLinkText);
    }
    // Something answered, even if too short to be a frame: no answer is owed any more.
    m_answerBegun = true;
    if (byte < kMinFrameLength) {
        qCDebug(lcLink).noquote() << QStringLiteral("recv %1  wrong shape (no frame length) after %2 ms")
                                         .arg(QLatin1String(hexBytes(QByteArray(1, char(byte)))))
                                         .arg(clock.nowMs() - m_sentAtMs);
        throw Error(ErrorKind::NoLink, kNoLinkText);
    }
    answer[0] = byte;
    const int length = byte;
    // Once the length is known, the rest is taken as the driver holds it; while the frame is
    // still short, the link sleeps for the time the missing bytes need on the line (less two
    // byte-times, so it does not oversleep the last ones) instead of waking for every byte.
    int have = takeHeldBytes(answer, 1, length);
    const qint64 missingUs = m_port.byteTimeUs() * (length - have - 2);
    if (missingUs > 0) {
        clock.sleepUs(missingUs);
        have = takeHeldBytes(answer, have, length);
    }
    // Then each byte that is still missing within the inter-byte time-out, as ever.
    while (have < length) {
        if (!readByteBy(clock.nowMs() + m_interByteTimeout, byte)) {
            qCDebug(lcLink).noquote() << QStringLiteral("recv %1  incomplete (%2 of %3 bytes) after %4 ms")
                                             .arg(QLatin1String(
                                                 hexBytes(QByteArray(reinterpret_cast<const char *>(answer), have))))
                                             .arg(have)
                                             .arg(length)
                                             .arg(clock.nowMs() - m_sentAtMs);
            throw Error(ErrorKind::Timeout, kInterByteText);
        }
        answer[have] = byte;
        have = takeHeldBytes(answer, have + 1, length);
    }
    m_bytesReceived += quint64(length);
    if (!m_frame.CheckReply()) {
        qCDebug(lcLink).noquote() << QStringLiteral("recv %1  checksum after %2 ms")
                                         .arg(QLatin1String(hexBytes(m_frame.answer())))
                                         .arg(clock.nowMs() - m_sentAtMs);
        throw Error(ErrorKind::Refused, kExchangeErrorText + QStringLiteral("(0)"));
    }
}

int LinkProtocol::takeHeldBytes(quint8 *answer, int have, int frameLength)
{
    PortIo *p = m_port.io();
    if (!p || have >= frameLength)
        return have;
    return have + p->read(reinterpret_cast<char *>(answer) + have, frameLength - have);
}

void LinkProtocol::discardStale()
{
    PortIo *p = m_port.io();
    if (!p)
        return;
    char buffer[256];
    int n;
    QByteArray stale;
    while ((n = p->read(buffer, int(sizeof buffer))) > 0) {
        m_disturbances += quint64(n);
        m_heardInExchange = true;
        if (lcLink().isDebugEnabled())
            stale.append(buffer, n);
    }
    if (!stale.isEmpty())
        qCDebug(lcLink).noquote() << QStringLiteral("recv %1  %2 (before the request)")
                                         .arg(QLatin1String(hexBytes(stale)),
                                              unaskedVerdict(stale, m_lastTaken, "stale"));
}

void LinkProtocol::drainLine()
{
    m_unsettled = false;
    const int quietMs = qMin<int>(m_firstByteTimeout, m_answerOwed ? kOwedQuietMaxMs : kAnsweredQuietMs);
    m_answerOwed = false;
    PortIo *p = m_port.io();
    if (!p)
        return;
    Clock &c = m_port.clock();
    char buffer[256];
    qint64 quietSince = c.nowMs();
    const qint64 drainStarted = quietSince;
    QByteArray drained;
    const bool tracing = lcLink().isDebugEnabled();
    const auto trace = [&](qint64 now) {
        if (!tracing)
            return;
        if (!drained.isEmpty())
            qCDebug(lcLink).noquote() << QStringLiteral("recv %1  %2 (drained)")
                                             .arg(QLatin1String(hexBytes(drained)),
                                                  unaskedVerdict(drained, m_lastTaken, "late"));
        qCDebug(lcLink).noquote() << QStringLiteral("drain %1 ms (quiet %2 ms wanted%3): %4 byte(s) thrown away")
                                         .arg(now - drainStarted)
                                         .arg(quietMs)
                                         .arg(now - quietSince >= quietMs ? QString() : QStringLiteral(", never came"))
                                         .arg(drained.size());
    };
    // A line that never goes quiet (a device stuck sending) must not hold the program: the
    // drain gives up after a few time-outs, and what follows fails or is counted disturbed.
    const qint64 giveUp = quietSince + kDrainLimitTimeouts * qint64(qMax<int>(m_firstByteTimeout, 100));
    for (;;) {
        const int n = p->read(buffer, int(sizeof buffer));
        const qint64 now = c.nowMs();
        if (n > 0) {
            m_disturbances += quint64(n);
            m_heardInExchange = true;
            quietSince = now;
            if (tracing)
                drained.append(buffer, n);
        }
        const qint64 left = qMin(quietSince + quietMs, giveUp) - now;
        if (left <= 0) {
            trace(now);
            return;
        }
        if (n <= 0)
            p->waitForBytes(int(left));
    }
}

bool LinkProtocol::readByteBy(qint64 deadline, quint8 &byte)
{
    Clock &c = m_port.clock();
    PortIo *p = m_port.io();
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
