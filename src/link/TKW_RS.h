#pragma once
// The request/answer protocol over the serial port: one request frame out, one answer frame
// back within the time-outs, checked, with up to three attempts 50 ms apart.
//
//   link.FirstByteTimeout ... ; link.BeginCommand(0xFC, 5); link.PutWord(block);
//   link.Exchange();               // throws Error with the link's message
//   QByteArray data = link.GetBytes(32);

#include "link/TKW_RS_Base.h"

namespace mk {

// Port types: how the line is driven.
enum PortTypeCode : quint8 {
    kPortRs232 = 0,          // full duplex
    kPortRs422 = 1,          // half duplex without echo: 20 ms pause before each exchange
    kPortRs485WithEcho = 2,  // half duplex, RTS keys the transmitter, the request comes back
};

class TKW_RS : public TKW_RS_Base
{
public:
    explicit TKW_RS(std::shared_ptr<PortBackend> backend = systemPortBackend());

    // Wait for the first answer byte (plus the request's own time on the line) and for each
    // later byte, in milliseconds.
    quint16 FirstByteTimeout() const { return m_firstByteTimeout; }
    void SetFirstByteTimeout(quint16 ms) { m_firstByteTimeout = ms; }
    quint16 InterByteTimeout() const { return m_interByteTimeout; }
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
    // Receives one answer into RxBuf within the time-outs; checks its length and checksum.
    void ReceiveFrame();

    // Bytes written and received since the link was made (for throughput figures).
    quint64 bytesSent() const { return m_bytesSent; }
    quint64 bytesReceived() const { return m_bytesReceived; }

private:
    void exchange(int attempts);
    // One byte by the deadline (a byte arriving exactly at the deadline still counts).
    bool readByteBy(qint64 deadline, quint8 &byte);

    quint16 m_firstByteTimeout = 1000;
    quint16 m_interByteTimeout = 200;
    quint8 m_portType = kPortRs232;
    quint64 m_bytesSent = 0;
    quint64 m_bytesReceived = 0;
};

} // namespace mk
