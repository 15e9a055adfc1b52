// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A port without a line: what the link writes goes to a responder (a simulated device or a
// test's script), whose answer bytes arrive at chosen times on a virtual clock. Time-outs of
// any length run in microseconds of real time.

#include "link/PortBackend.h"
#include "sim/PacedLine.h"

#include <QMap>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace mk {

class SimulatedDevice;

// Answer bytes and, for each, when it arrives (ms after the request was written).
// Missing times mean "at once".
struct TimedReply
{
    QByteArray bytes;
    std::vector<qint64> atMs;
    // The same in microseconds, for byte times of a real line; when given, atMs is not used.
    std::vector<qint64> atUs = {};

    // First byte after firstMs, each later one gapMs after the one before.
    static TimedReply paced(const QByteArray &bytes, qint64 firstMs, qint64 gapMs);
    static TimedReply pacedUs(const QByteArray &bytes, qint64 firstUs, qint64 gapUs);
};

class InMemoryPort : public PortIo
{
public:
    using Responder = std::function<std::optional<TimedReply>(const QByteArray &request)>;

    InMemoryPort(VirtualClock &clock, Responder responder);
    // Answers as the device would, each byte after the line time of byteTimeMs; a late answer
    // holds up the answers after it, a duplicated one arrives twice.
    static Responder deviceResponder(SimulatedDevice &device, qint64 replyDelayMs = 0, qint64 byteTimeMs = 0);
    // The same on a line of this rate (11 bits a byte), byte times in microseconds.
    static Responder deviceResponderAtRate(SimulatedDevice &device, int lineRate);

    // A half-duplex line gives every request back before the answer.
    void setEcho(bool echo) { m_echo = echo; }
    // How the bytes reach the reader: as they come (byte), a packet's bytes when its last one
    // comes, or on the ticks of a bridge (chunk).
    void setDelivery(Delivery delivery) { m_delivery = delivery; }
    // The driver takes no rate above this one and reports the highest it takes (0: no limit).
    void setMaxBaudRate(quint32 baud) { m_maxBaud = baud; }

    quint32 setBaudRate(quint32 baud) override;
    void setByteSize(quint8 bits) override { m_byteSize = bits; }
    void setParity(quint8 parity) override { m_parity = parity; }
    void setStopBits(quint8 code) override { m_stopBits = code; }
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void purgeRx() override;
    void purgeTx() override {}
    void write(const QByteArray &bytes) override;
    int read(char *buffer, int max) override;
    void waitForBytes(int timeoutMs) override;

    // What the link did, for tests: "dtr on", "rts on", "write 06 fc ...", "rts off", "purge rx".
    const QStringList &events() const { return m_events; }
    std::vector<QByteArray> requests() const { return m_requests; }
    quint32 baudRate() const { return m_baud; }
    quint8 byteSize() const { return m_byteSize; }
    quint8 parity() const { return m_parity; }
    quint8 stopBits() const { return m_stopBits; }
    bool dtr() const { return m_dtr; }
    bool rts() const { return m_rts; }
    // Bytes that have arrived and were not read yet.
    int pendingBytes() const;

private:
    struct Incoming
    {
        qint64 atUs;
        char byte;
    };
    void schedule(const TimedReply &reply);

    VirtualClock &m_clock;
    Responder m_responder;
    std::deque<Incoming> m_incoming;
    QByteArray m_partialRequest;
    std::vector<QByteArray> m_requests;
    QStringList m_events;
    bool m_echo = false;
    Delivery m_delivery;
    quint32 m_maxBaud = 0;
    quint32 m_baud = 0;
    quint8 m_byteSize = 0, m_parity = 0, m_stopBits = 0;
    bool m_dtr = false, m_rts = false;
};

// Simulated ports by number, all on one virtual clock.
class SimulatedPortBackend : public PortBackend
{
public:
    explicit SimulatedPortBackend(std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>());

    // Port n is present and leads to this port object.
    std::shared_ptr<InMemoryPort> addPort(int n, InMemoryPort::Responder responder);
    // Port n is present but opening it fails (in use), or is refused for lack of rights.
    void addBusyPort(int n) { m_busy << n; }
    void addForbiddenPort(int n) { m_forbidden << n; }
    void removePort(int n);
    // Port n is reached through the device's stable name as well.
    void setDeviceLink(int n, const QString &link) { m_links[n] = link; }
    std::shared_ptr<InMemoryPort> portAt(int n) const { return m_ports.value(n); }
    // How many times port n was opened.
    int openCount(int n) const { return m_openCount.value(n); }
    // How many times any port was probed.
    int probeCount() const { return m_probeCount; }

    bool probe(int number) override;
    std::unique_ptr<PortIo> open(int number) override;
    QString deviceLink(int number) override { return m_links.value(number); }
    Clock &clock() override { return *m_clock; }
    VirtualClock &virtualClock() { return *m_clock; }

private:
    std::shared_ptr<VirtualClock> m_clock;
    QMap<int, std::shared_ptr<InMemoryPort>> m_ports;
    QList<int> m_busy, m_forbidden;
    QMap<int, int> m_openCount;
    int m_probeCount = 0;
    QMap<int, QString> m_links;
};

} // namespace mk
