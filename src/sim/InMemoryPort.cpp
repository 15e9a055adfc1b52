// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/InMemoryPort.h"

#include "base/Error.h"
#include "link/FrameCodec.h"
#include "link/SerialPortIo.h"
#include "sim/SimulatedDevice.h"

namespace mk {

namespace {

ErrorContext portContext(const QString &port)
{
    ErrorContext context;
    context.port = port;
    return context;
}

} // namespace

TimedReply TimedReply::paced(const QByteArray &bytes, qint64 firstMs, qint64 gapMs)
{
    TimedReply r{bytes, {}};
    for (int i = 0; i < bytes.size(); ++i)
        r.atMs.push_back(firstMs + gapMs * i);
    return r;
}

TimedReply TimedReply::pacedUs(const QByteArray &bytes, qint64 firstUs, qint64 gapUs)
{
    TimedReply r{bytes, {}};
    for (int i = 0; i < bytes.size(); ++i)
        r.atUs.push_back(firstUs + gapUs * i);
    return r;
}

InMemoryPort::InMemoryPort(VirtualClock &clock, Responder responder) : m_clock(clock), m_responder(std::move(responder))
{}

InMemoryPort::Responder InMemoryPort::deviceResponder(SimulatedDevice &device, qint64 replyDelayMs, qint64 byteTimeMs)
{
    return [&device, replyDelayMs, byteTimeMs](const QByteArray &request) -> std::optional<TimedReply> {
        const std::optional<DeviceAnswer> answer = device.respond(request);
        if (!answer)
            return std::nullopt;
        // The request's own time on the line, then the answer byte by byte.
        return TimedReply::paced(answer->bytes,
                                 byteTimeMs * request.size() + replyDelayMs + answer->lateMs + byteTimeMs, byteTimeMs);
    };
}

InMemoryPort::Responder InMemoryPort::deviceResponderAtRate(SimulatedDevice &device, int lineRate)
{
    const qint64 byteUs = lineRate > 0 ? 11 * 1000000LL / lineRate : 0;
    return [&device, byteUs](const QByteArray &request) -> std::optional<TimedReply> {
        const std::optional<DeviceAnswer> answer = device.respond(request);
        if (!answer)
            return std::nullopt;
        return TimedReply::pacedUs(answer->bytes, byteUs * request.size() + answer->lateMs * 1000LL + byteUs, byteUs);
    };
}

quint32 InMemoryPort::setBaudRate(quint32 baud)
{
    m_baud = m_maxBaud ? qMin(baud, m_maxBaud) : baud;
    return m_baud;
}

void InMemoryPort::setDtr(bool on)
{
    m_dtr = on;
    m_events << (on ? QStringLiteral("dtr on") : QStringLiteral("dtr off"));
}

void InMemoryPort::setRts(bool on)
{
    m_rts = on;
    m_events << (on ? QStringLiteral("rts on") : QStringLiteral("rts off"));
}

void InMemoryPort::purgeRx()
{
    const qint64 now = m_clock.nowUs();
    std::erase_if(m_incoming, [now](const Incoming &in) { return in.atUs <= now; });
    m_events << QStringLiteral("purge rx");
}

void InMemoryPort::write(const QByteArray &bytes)
{
    m_events << QStringLiteral("write ") + QString::fromLatin1(bytes.toHex(' '));
    m_partialRequest += bytes;
    // Whole frames go to the responder; a length byte below 6 cannot start one.
    while (!m_partialRequest.isEmpty()) {
        const int n = quint8(m_partialRequest[0]);
        if (n < kMinFrameLength) {
            m_partialRequest.remove(0, 1);
            continue;
        }
        if (m_partialRequest.size() < n)
            break;
        const QByteArray request = m_partialRequest.left(n);
        m_partialRequest.remove(0, n);
        m_requests.push_back(request);
        if (m_echo)
            schedule(TimedReply{request, {}});
        if (const std::optional<TimedReply> reply = m_responder(request))
            schedule(*reply);
    }
}

void InMemoryPort::schedule(const TimedReply &reply)
{
    const qint64 now = m_clock.nowUs();
    const auto offset = [&reply](int i) -> qint64 {
        if (!reply.atUs.empty())
            return size_t(i) < reply.atUs.size() ? reply.atUs[size_t(i)] : 0;
        return size_t(i) < reply.atMs.size() ? reply.atMs[size_t(i)] * 1000 : 0;
    };
    qint64 last = m_incoming.empty() ? now : m_incoming.back().atUs;
    // An answer waits until the line is free (a late answer still on its way holds it up),
    // then keeps its own pace: its first byte comes one of its byte times after the last.
    const qint64 pace = reply.bytes.size() > 1 ? qMax<qint64>(0, offset(1) - offset(0)) : 0;
    const qint64 shift =
        reply.bytes.isEmpty() || m_incoming.empty() ? 0 : qMax<qint64>(0, last + pace - (now + offset(0)));
    std::vector<qint64> at;
    for (int i = 0; i < reply.bytes.size(); ++i) {
        last = qMax(last, now + offset(i) + shift); // bytes on one line arrive in order
        at.push_back(last);
    }
    if (m_delivery.kind == Delivery::Packet) {
        for (size_t i = 0; i < at.size(); ++i)
            at[i] = at[qMin(at.size(), (i / size_t(m_delivery.packetSize) + 1) * size_t(m_delivery.packetSize)) - 1];
    } else if (m_delivery.kind == Delivery::Chunk) {
        const qint64 interval = m_delivery.chunkUs;
        for (qint64 &t : at)
            t = (t + interval - 1) / interval * interval;
    }
    for (int i = 0; i < reply.bytes.size(); ++i)
        m_incoming.push_back({at[size_t(i)], reply.bytes[i]});
}

int InMemoryPort::read(char *buffer, int max)
{
    const qint64 now = m_clock.nowUs();
    int n = 0;
    while (n < max && !m_incoming.empty() && m_incoming.front().atUs <= now) {
        buffer[n++] = m_incoming.front().byte;
        m_incoming.pop_front();
    }
    return n;
}

void InMemoryPort::waitForBytes(int timeoutMs)
{
    // Up to the start of the millisecond the time-out ends in, as a millisecond tick would.
    const qint64 limit = (m_clock.nowMs() + qMax(0, timeoutMs)) * 1000;
    const qint64 until = !m_incoming.empty() && m_incoming.front().atUs <= limit ? m_incoming.front().atUs : limit;
    m_clock.sleepUs(until - m_clock.nowUs());
}

int InMemoryPort::pendingBytes() const
{
    const qint64 now = m_clock.nowUs();
    return int(
        std::count_if(m_incoming.begin(), m_incoming.end(), [now](const Incoming &in) { return in.atUs <= now; }));
}

SimulatedPortBackend::SimulatedPortBackend(std::shared_ptr<VirtualClock> clock) : m_clock(std::move(clock)) {}

std::shared_ptr<InMemoryPort> SimulatedPortBackend::addPort(int n, InMemoryPort::Responder responder)
{
    auto port = std::make_shared<InMemoryPort>(*m_clock, std::move(responder));
    m_ports[n] = port;
    return port;
}

void SimulatedPortBackend::removePort(int n)
{
    m_ports.remove(n);
    m_busy.removeAll(n);
    m_forbidden.removeAll(n);
}

bool SimulatedPortBackend::probe(int number)
{
    ++m_probeCount;
    return m_ports.contains(number) || m_busy.contains(number) || m_forbidden.contains(number);
}

namespace {

// The link owns what it opens; the test keeps the port object to look at afterwards.
class SharedPortHandle : public PortIo
{
public:
    explicit SharedPortHandle(std::shared_ptr<InMemoryPort> port) : m_port(std::move(port)) {}
    quint32 setBaudRate(quint32 baud) override { return m_port->setBaudRate(baud); }
    void setByteSize(quint8 bits) override { m_port->setByteSize(bits); }
    void setParity(quint8 parity) override { m_port->setParity(parity); }
    void setStopBits(quint8 code) override { m_port->setStopBits(code); }
    void setDtr(bool on) override { m_port->setDtr(on); }
    void setRts(bool on) override { m_port->setRts(on); }
    void purgeRx() override { m_port->purgeRx(); }
    void purgeTx() override { m_port->purgeTx(); }
    void write(const QByteArray &bytes) override { m_port->write(bytes); }
    int read(char *buffer, int max) override { return m_port->read(buffer, max); }
    void waitForBytes(int timeoutMs) override { m_port->waitForBytes(timeoutMs); }

private:
    std::shared_ptr<InMemoryPort> m_port;
};

} // namespace

std::unique_ptr<PortIo> SimulatedPortBackend::open(int number)
{
    if (m_forbidden.contains(number))
        throw Error(ErrorKind::PortDenied, permissionDeniedText(label(number)), portContext(label(number)));
    if (m_busy.contains(number))
        throw Error(ErrorKind::PortBusy, portInUseText(label(number)), portContext(label(number)));
    if (!m_ports.contains(number))
        return nullptr;
    ++m_openCount[number];
    return std::make_unique<SharedPortHandle>(m_ports.value(number));
}

} // namespace mk
