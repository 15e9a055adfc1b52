// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PtySimulator.h"

#include "base/Error.h"
#include "link/FrameCodec.h"
#include "sim/SimulatedDevice.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#endif

namespace mk {

namespace {

constexpr int kBitsPerByte = 11; // start bit, 8 data bits, two stop bits
// The device forgets a request that stops arriving for this long.
constexpr int kPartialFrameTimeoutMs = 50;
// Pauses between the parts of one answer up to this long are slept through without watching
// the terminal: the requests that come meanwhile are read right after.
constexpr qint64 kNapNs = 2'000'000;

#ifdef Q_OS_UNIX
qint64 monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
#endif

} // namespace

PtySimulator::PtySimulator(SimulatedDevice &device, PtySimulatorOptions options)
    : m_device(device), m_options(std::move(options))
{}

PtySimulator::~PtySimulator() { stop(); }

#ifdef Q_OS_UNIX

void PtySimulator::start()
{
    if (running())
        return;
    const auto fail = [this](const char *what) {
        const QString reason = QString::fromLocal8Bit(strerror(errno));
        stop();
        throw Error(QStringLiteral("Не удалось создать псевдотерминал (%1: %2)").arg(QLatin1String(what), reason));
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        fail("posix_openpt");
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof name) != 0)
        fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        fail("open");
    // Raw bytes both ways from the start: no echo, no line editing, no newline translation.
    termios tio;
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetspeed(&tio, B115200);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        fail("pipe");
    m_stopping = false;
    m_thread = std::thread([this] { serve(); });
}

void PtySimulator::stop()
{
    m_stopping = true;
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
    for (int *fd : {&m_master, &m_slave, &m_wakePipe[0], &m_wakePipe[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PtySimulator::serve()
{
#ifdef Q_OS_LINUX
    // Wake up on time for each paced byte rather than up to 50 µs late.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
#endif
    m_byteNs = m_options.lineRate > 0 ? qint64(kBitsPerByte) * 1000000000 / m_options.lineRate : 0;
    FrameAssembler assembler;
    PacedLine line(m_byteNs, m_options.delivery);
    while (!m_stopping) {
        if (!receive(assembler, line))
            break;
        qint64 now = monotonicNs();
        if (assembler.hasPartial() && now - m_lastInputNs >= qint64(kPartialFrameTimeoutMs) * 1000000)
            assembler.reset(); // a request that stopped half-way is forgotten
        const QByteArray out = line.take(now);
        if (!out.isEmpty()) {
            writeAll(out);
            now = monotonicNs();
        }
        qint64 wake = line.idle() ? -1 : line.nextDeliveryNs();
        if (assembler.hasPartial()) {
            const qint64 forget = m_lastInputNs + qint64(kPartialFrameTimeoutMs) * 1000000;
            wake = wake < 0 ? forget : qMin(wake, forget);
        }
        if (line.midAnswer() && wake - now <= kNapNs) {
            // The rest of an answer: an absolute-time sleep keeps the pace exact without
            // drifting from one byte to the next.
            const timespec ts{time_t(wake / 1000000000), long(wake % 1000000000)};
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
            }
        } else if (!waitUntil(wake)) {
            break;
        }
    }
}

bool PtySimulator::receive(FrameAssembler &assembler, PacedLine &line)
{
    for (;;) {
        char buffer[512];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        if (n <= 0)
            return n < 0 && errno == EIO; // EIO: no slave open, which waitUntil rides out
        const qint64 now = monotonicNs();
        if (!assembler.hasPartial())
            m_frameStartNs = now;
        m_lastInputNs = now;
        for (const QByteArray &request : assembler.feed(buffer, int(n))) {
            answer(request, m_frameStartNs, line);
            m_frameStartNs = now;
        }
    }
}

void PtySimulator::answer(const QByteArray &request, qint64 arrivedNs, PacedLine &line)
{
    ++m_requestCount;
    const std::optional<DeviceAnswer> reply = m_device.respond(request);
    if (m_options.log) {
        QString what =
            reply ? QStringLiteral(" -> %1 bytes").arg(reply->bytes.size()) : QStringLiteral(" -> no answer");
        if (reply && reply->lateMs > 0)
            what += QStringLiteral(", %1 ms late").arg(reply->lateMs);
        m_options.log(SimulatedDevice::describe(request) + what);
    }
    if (!reply)
        return;
    // The request was on the line from its first byte on; the answer starts after it.
    const qint64 delayNs = qint64(m_options.replyDelayMs + reply->lateMs) * 1000000;
    line.enqueue(reply->bytes, arrivedNs + m_byteNs * request.size() + delayNs);
}

bool PtySimulator::waitUntil(qint64 t)
{
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    timespec timeout{};
    const timespec *limit = nullptr;
    if (t >= 0) {
        // ppoll sleeps on the kernel's high-resolution timer until now + timeout.
        const qint64 left = qMax<qint64>(0, t - monotonicNs());
        timeout = {time_t(left / 1000000000), long(left % 1000000000)};
        limit = &timeout;
    }
    const int ready = ppoll(fds, 2, limit, nullptr);
    if (ready < 0)
        return errno == EINTR;
    if (fds[1].revents != 0 || m_stopping)
        return false;
    if ((fds[0].revents & (POLLHUP | POLLERR)) && !(fds[0].revents & POLLIN)) {
        // Cannot happen while the slave is held open; never spin if it does.
        pollfd wake = {m_wakePipe[0], POLLIN, 0};
        poll(&wake, 1, 10);
    }
    return true;
}

void PtySimulator::writeAll(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size() && !m_stopping) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_wakePipe[0], POLLIN, 0}};
            poll(fds, 2, 100);
        } else {
            return;
        }
    }
}

#else

void PtySimulator::start()
{
    throw Error(QStringLiteral("Псевдотерминалы есть только в Linux и других системах Unix"));
}

void PtySimulator::stop() {}
void PtySimulator::serve() {}
bool PtySimulator::receive(FrameAssembler &, PacedLine &) { return false; }
void PtySimulator::answer(const QByteArray &, qint64, PacedLine &) {}
bool PtySimulator::waitUntil(qint64) { return false; }
void PtySimulator::writeAll(const QByteArray &) {}

#endif

} // namespace mk
