// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serves a simulated trip computer on a pseudo-terminal, on its own thread. The program (or a
// test, or mkconf --demo) opens slavePath() like any serial port. One loop both receives
// requests and puts answers on the line, so the device keeps listening while an answer (a
// late one, say) is still waiting to go out; the answers leave in order.
//
//   SimulatedDevice device({0xFE, 0x8002, 32768}, memory);
//   PtySimulator sim(device);
//   sim.start();                     // throws Error when no pseudo-terminal can be had
//   setPortOverride(7, sim.slavePath());

#include "sim/PacedLine.h"

#include <QString>
#include <atomic>
#include <functional>
#include <thread>

namespace mk {

class FrameAssembler;
class SimulatedDevice;

struct PtySimulatorOptions
{
    // Pace every byte as a line at this rate would (11 bits a byte); 0 = as fast as possible.
    int lineRate = 0;
    // How the paced bytes reach the terminal: byte by byte, in packets or in chunks.
    Delivery delivery;
    // Extra wait before each answer.
    int replyDelayMs = 0;
    // Called on the serving thread with one line per request.
    std::function<void(const QString &line)> log;
};

class PtySimulator
{
public:
    explicit PtySimulator(SimulatedDevice &device, PtySimulatorOptions options = {});
    ~PtySimulator();
    PtySimulator(const PtySimulator &) = delete;
    PtySimulator &operator=(const PtySimulator &) = delete;

    void start();
    // Stops serving and closes the pseudo-terminal; safe to call twice.
    void stop();
    bool running() const { return m_thread.joinable(); }
    QString slavePath() const { return m_slavePath; }

    // Requests answered or left unanswered so far.
    quint64 requestCount() const { return m_requestCount; }

private:
    void serve();
    // Reads what has arrived and queues the answers; false when the terminal failed.
    bool receive(FrameAssembler &assembler, PacedLine &line);
    void answer(const QByteArray &request, qint64 arrivedNs, PacedLine &line);
    // Waits until the monotonic time t (ns, -1: no limit) or a request arrives; false on stop().
    bool waitUntil(qint64 t);
    void writeAll(const QByteArray &bytes);

    SimulatedDevice &m_device;
    PtySimulatorOptions m_options;
    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up between clients
    int m_wakePipe[2] = {-1, -1};
    QString m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<quint64> m_requestCount{0};
    qint64 m_byteNs = 0;
    qint64 m_frameStartNs = 0; // when the first byte of the request being received came
    qint64 m_lastInputNs = 0;
};

} // namespace mk
