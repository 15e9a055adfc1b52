#include "link/PtySimulator.h"

#include "link/FrameCodec.h"
#include "link/SimulatedDevice.h"
#include "model/Error.h"

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
// How long before a paced byte's time the simulator stops sleeping and watches the clock.
constexpr qint64 kSpinNs = 700'000;

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
{
}

PtySimulator::~PtySimulator()
{
    stop();
}

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
    FrameAssembler assembler;
    qint64 frameStartNs = 0;
    while (!m_stopping) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        const int ready = poll(fds, 2, assembler.hasPartial() ? kPartialFrameTimeoutMs : -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[1].revents != 0)
            break;
        if (ready == 0) {
            assembler.reset(); // a request that stopped half-way is forgotten
            continue;
        }
        if (fds[0].revents & POLLIN) {
            char buffer[512];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            if (!assembler.hasPartial())
                frameStartNs = monotonicNs();
            for (const QByteArray &request : assembler.feed(buffer, int(n))) {
                answer(request, frameStartNs);
                frameStartNs = monotonicNs();
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Cannot happen while the slave is held open; never spin if it does.
            sleepUntil(monotonicNs() + 10'000'000);
        }
    }
}

void PtySimulator::answer(const QByteArray &request, qint64 arrivedNs)
{
    ++m_requestCount;
    const std::optional<QByteArray> reply = m_device.answer(request);
    if (m_options.log)
        m_options.log(SimulatedDevice::describe(request)
                      + (reply ? QStringLiteral(" -> %1 bytes").arg(reply->size()) : QStringLiteral(" -> no answer")));
    if (!reply)
        return;
    const qint64 byteNs = m_options.lineRate > 0 ? qint64(kBitsPerByte) * 1000000000 / m_options.lineRate : 0;
    // The request was on the line from its first byte on; the answer starts after it.
    qint64 t = arrivedNs + byteNs * request.size() + qint64(m_options.replyDelayMs) * 1000000;
    if (byteNs == 0) {
        if (sleepUntil(t))
            writeAll(*reply);
        return;
    }
    // Like a UART's shift register: byte i is complete on the line at t + (i + 1) * byteNs.
    // A wake-up that comes late hands over every byte whose time has passed at once, so the
    // answer as a whole is never later than its last byte's time.
    const QByteArray &bytes = *reply;
    for (qsizetype i = 0; i < bytes.size();) {
        if (!sleepUntil(t + byteNs * (i + 1)))
            return;
        const qint64 now = monotonicNs();
        qsizetype j = i + 1;
        while (j < bytes.size() && t + byteNs * (j + 1) <= now)
            ++j;
        writeAll(bytes.mid(i, j - i));
        i = j;
    }
}

bool PtySimulator::sleepUntil(qint64 t)
{
    for (;;) {
        if (m_stopping)
            return false;
        const qint64 left = t - monotonicNs();
        if (left <= 0)
            return true;
        if (left > kSpinNs + 1'000'000) {
            // Long waits stay interruptible by stop().
            pollfd fd = {m_wakePipe[0], POLLIN, 0};
            poll(&fd, 1, int((left - kSpinNs) / 1'000'000));
        } else if (left > kSpinNs) {
            const qint64 wake = t - kSpinNs;
            timespec ts{time_t(wake / 1000000000), long(wake % 1000000000)};
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
        }
        // The last stretch is waited out awake: timer wake-ups can come half a millisecond
        // late, which would make a paced line slower than the real one.
    }
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
void PtySimulator::answer(const QByteArray &, qint64) {}
bool PtySimulator::sleepUntil(qint64) { return false; }
void PtySimulator::writeAll(const QByteArray &) {}

#endif

} // namespace mk
