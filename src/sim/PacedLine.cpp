// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PacedLine.h"

#include "base/Error.h"

#include <QStringList>
#include <algorithm>

namespace mk {

namespace {

constexpr int kMaxPacketSize = 4096;
constexpr int kMaxChunkUs = 1000000;

} // namespace

Delivery Delivery::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    Delivery d;
    bool ok = true;
    if (parts[0] == QLatin1String("byte") && parts.size() == 1) {
        d.kind = Byte;
    } else if (parts[0] == QLatin1String("packet") && parts.size() <= 2) {
        d.kind = Packet;
        if (parts.size() == 2)
            d.packetSize = parts[1].toInt(&ok);
        ok = ok && d.packetSize >= 1 && d.packetSize <= kMaxPacketSize;
    } else if (parts[0] == QLatin1String("chunk") && parts.size() == 2) {
        d.kind = Chunk;
        d.chunkUs = parts[1].toInt(&ok);
        ok = ok && d.chunkUs >= 1 && d.chunkUs <= kMaxChunkUs;
    } else {
        ok = false;
    }
    if (!ok)
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Неверный способ доставки \"%1\": нужно byte, packet[:БАЙТ] (до %2) "
                                   "или chunk:МКС (до %3)")
                        .arg(text)
                        .arg(kMaxPacketSize)
                        .arg(kMaxChunkUs));
    return d;
}

QString Delivery::name() const
{
    switch (kind) {
    case Packet: return QStringLiteral("packet:%1").arg(packetSize);
    case Chunk: return QStringLiteral("chunk:%1").arg(chunkUs);
    default: return QStringLiteral("byte");
    }
}

PacedLine::PacedLine(qint64 byteNs, Delivery delivery) : m_byteNs(qMax<qint64>(0, byteNs)), m_delivery(delivery) {}

void PacedLine::enqueue(const QByteArray &bytes, qint64 startNs)
{
    if (bytes.isEmpty())
        return;
    m_queue.push_back({bytes, startNs});
    if (m_queue.size() == 1)
        startNext();
}

void PacedLine::startNext()
{
    m_sent = 0;
    if (!m_queue.empty())
        m_lineStartNs = std::max(m_queue.front().startNs, m_lineFreeNs);
}

qint64 PacedLine::nextDeliveryNs() const
{
    const qsizetype size = m_queue.front().bytes.size();
    if (m_byteNs == 0)
        return m_lineStartNs;
    switch (m_delivery.kind) {
    case Delivery::Packet: {
        const qsizetype last = std::min<qsizetype>(m_sent + m_delivery.packetSize, size) - 1;
        return doneNs(last);
    }
    case Delivery::Chunk: {
        // The bridge's ticks fall on multiples of its interval.
        const qint64 interval = qint64(m_delivery.chunkUs) * 1000;
        const qint64 done = doneNs(m_sent);
        return (done + interval - 1) / interval * interval;
    }
    default: return doneNs(m_sent);
    }
}

QByteArray PacedLine::take(qint64 nowNs)
{
    QByteArray out;
    while (!idle() && nextDeliveryNs() <= nowNs) {
        const QByteArray &bytes = m_queue.front().bytes;
        const qsizetype size = bytes.size();
        qsizetype end = size; // one past the last byte delivered now
        if (m_byteNs > 0) {
            switch (m_delivery.kind) {
            case Delivery::Packet: end = std::min<qsizetype>(m_sent + m_delivery.packetSize, size); break;
            case Delivery::Chunk: {
                // Everything that finished by the bridge's last tick.
                const qint64 interval = qint64(m_delivery.chunkUs) * 1000;
                const qint64 tick = nowNs / interval * interval;
                end = m_sent + 1;
                while (end < size && doneNs(end) <= tick)
                    ++end;
                break;
            }
            default:
                // A late wake-up hands over every byte whose time has passed at once.
                end = m_sent + 1;
                while (end < size && doneNs(end) <= nowNs)
                    ++end;
                break;
            }
        }
        out += bytes.mid(m_sent, end - m_sent);
        m_sent = end;
        if (m_sent == size) {
            m_lineFreeNs = m_byteNs ? doneNs(size - 1) : m_lineStartNs;
            m_queue.pop_front();
            startNext();
        }
    }
    return out;
}

} // namespace mk
