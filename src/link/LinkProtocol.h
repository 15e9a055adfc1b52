// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The request/answer protocol over the serial port: one request frame out, one answer frame
// back within the time-outs, checked, with up to three attempts 50 ms apart.
//
// Keeping each answer with its own request. The device's answers carry no request number,
// and a device that answers late (after the time-out), twice, or after a stray byte would
// otherwise have its answer taken for a later request. So:
//  - bytes already waiting when a request is about to go out are stale: they are read,
//    counted and thrown away (then the queues are purged as always);
//  - after a failed attempt the line is unsettled, and so it stays after an exchange that
//    needed a retry (the device may still be answering an earlier attempt): before the next
//    request goes out, the line is drained until it has been quiet for one first-byte
//    time-out. When every failed attempt since the last drain was answered (the device sent
//    its answer, only it came damaged, busy or of another shape), no late answer is owed: a
//    copy or a stray tail follows at once, and the drain waits for 30 ms of quiet
//    only, so that a disturbed section write (first-byte time-out 2 s) costs a retry, not seconds;
//  - every failed attempt and every stale or drained byte counts as a disturbance: they are
//    what an answer taken for the wrong request leaves behind. A caller that reads data notes
//    the count before and after each exchange and reads again what it cannot trust
//    (TrustedRead does).
// When the frame says what shape its answer has (Frame::ExpectValues), an answer of another
// length or echoing another command is refused like a damaged one: it is another request's.
// The answer's address is not compared with the request.
//
//   frame.BeginCommand(0xFC, 5); frame.PutWord(block);
//   protocol.Exchange();            // throws Error with the link's message
//   QByteArray data = frame.GetBytes(32);

#include "link/FrameCodec.h"
#include "link/SerialPort.h"

namespace mk {

// Port types: how the line is driven.
enum PortTypeCode : quint8 {
    kPortRs232 = 0,         // full duplex
    kPortRs422 = 1,         // half duplex without echo: 20 ms pause before each exchange
    kPortRs485WithEcho = 2, // half duplex, RTS keys the transmitter, the request comes back
};

// Sends the frame's request and receives its answer over the port: time-outs, retries,
// draining and the count of what disturbed the line.
class LinkProtocol
{
public:
    LinkProtocol(SerialPort &port, Frame &frame) : m_port(port), m_frame(frame) {}
    LinkProtocol(const LinkProtocol &) = delete;
    LinkProtocol &operator=(const LinkProtocol &) = delete;

    // Wait for the first answer byte (plus the request's own time on the line) and for each
    // later byte, in milliseconds.
    void SetFirstByteTimeout(quint16 ms) { m_firstByteTimeout = ms; }
    void SetInterByteTimeout(quint16 ms) { m_interByteTimeout = ms; }

    quint8 PortType() const { return m_portType; }
    // Values above 2 give type 0.
    void SetPortType(quint8 t) { m_portType = t < 3 ? t : quint8(kPortRs232); }

    // Closes the request and transacts, up to three attempts; the last error reaches the
    // caller. On success the answer's values are readable from offset 5.
    void Exchange();
    // The same with a single attempt.
    void ExchangeOnce();
    // A command without arguments.
    void CommandExchange(quint8 address, quint8 command);

    // One attempt: send, receive, then check the header and the status byte.
    void Transact();
    // Purges both queues and writes the request (RTS keyed and echo consumed for type 2).
    void SendFrame();
    // Receives one answer into the frame's RxBuf within the time-outs; checks its length and
    // checksum.
    void ReceiveFrame();

    // Failed attempts and stale or drained bytes since the link was made.
    quint64 disturbances() const { return m_disturbances; }
    // Answers refused for their shape since the link was made, and the last of them (all its
    // bytes): a reader can tell a second copy of the answer it took from another block's.
    quint64 refusedAnswers() const { return m_refusedAnswers; }
    const QByteArray &lastRefusedAnswer() const { return m_lastRefused; }
    // Whether the last exchange heard anything from the device (an answer begun, or late bytes
    // drained before an attempt): a line that answers, however badly or late, is noisy; one
    // silent through every attempt has no device on it.
    bool lastExchangeHeard() const { return m_heardInExchange; }
    // Throws away what arrives until the line has been quiet: for one first-byte time-out (at
    // most half a second) when some answer is owed, otherwise briefly.
    void drainLine();

    // Bytes written and received since the link was made (for throughput figures).
    quint64 bytesSent() const { return m_bytesSent; }
    quint64 bytesReceived() const { return m_bytesReceived; }

private:
    void exchange(int attempts);
    // One byte by the deadline (a byte arriving exactly at the deadline still counts).
    bool readByteBy(qint64 deadline, quint8 &byte);
    // Copies what the driver holds of the answer's bytes from index have on; returns the new count.
    int takeHeldBytes(quint8 *answer, int have, int frameLength);
    // Reads and counts what is waiting before a request.
    void discardStale();

    SerialPort &m_port;
    Frame &m_frame;
    quint16 m_firstByteTimeout = 1000;
    quint16 m_interByteTimeout = 200;
    quint8 m_portType = kPortRs232;
    bool m_unsettled = false;
    // Some failed attempt since the last drain got no answer at all: it may still come.
    bool m_answerOwed = false;
    // The current attempt's answer began (its length byte came).
    bool m_answerBegun = false;
    bool m_heardInExchange = false;
    quint64 m_disturbances = 0;
    quint64 m_refusedAnswers = 0;
    QByteArray m_lastRefused;
    // For the trace: when the request went out, and the answer taken last (kept while tracing).
    qint64 m_sentAtMs = 0;
    QByteArray m_lastTaken;
    quint64 m_bytesSent = 0;
    quint64 m_bytesReceived = 0;
};

} // namespace mk
