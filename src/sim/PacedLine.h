// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device's transmit side of a serial line as a timed output queue, without any I/O: answers
// go onto the line in the order they were queued, each starting when it is due and the line is
// free, one byte per byte time. What reaches the other end, and when, depends on how the bytes
// are delivered:
//   byte        each byte as soon as it has finished on the line (a plain UART)
//   packet:N    up to N bytes of one answer together, when the last of them would have
//               finished on the line (a device with its own USB port)
//   chunk:US    whatever finished on the line during each US microseconds, at the end of that
//               interval (a USB-serial bridge polling its UART)
// Times are nanoseconds on one monotonic scale.

#include <QByteArray>
#include <QString>
#include <deque>

namespace mk {

struct Delivery
{
    enum Kind { Byte, Packet, Chunk };
    Kind kind = Byte;
    int packetSize = 64; // Packet: bytes per packet
    int chunkUs = 1000;  // Chunk: the bridge's interval

    // "byte", "packet", "packet:32", "chunk:1000"; throws Error otherwise.
    static Delivery parse(const QString &text);
    QString name() const;
};

class PacedLine
{
public:
    // byteNs 0: no pacing, every answer is delivered whole when it is due.
    PacedLine(qint64 byteNs, Delivery delivery);

    // An answer that may start on the line at startNs.
    void enqueue(const QByteArray &bytes, qint64 startNs);
    bool idle() const { return m_queue.empty(); }
    // When the next delivery is due; only when not idle.
    qint64 nextDeliveryNs() const;
    // True while an answer is partly delivered (its next part follows within a packet's or a
    // chunk's time).
    bool midAnswer() const { return !idle() && m_sent > 0; }
    // The bytes that reach the other end by nowNs, in order (empty when none is due).
    QByteArray take(qint64 nowNs);

private:
    struct Answer
    {
        QByteArray bytes;
        qint64 startNs;
    };
    // When byte i of the first answer has finished on the line.
    qint64 doneNs(qsizetype i) const { return m_lineStartNs + m_byteNs * (i + 1); }
    // Makes the next answer the one on the line.
    void startNext();

    qint64 m_byteNs;
    Delivery m_delivery;
    std::deque<Answer> m_queue;
    qint64 m_lineStartNs = 0; // when the first answer in the queue starts on the line
    qint64 m_lineFreeNs = 0;  // when the line's last byte before it finished
    qsizetype m_sent = 0;     // bytes of the first answer delivered
};

} // namespace mk
