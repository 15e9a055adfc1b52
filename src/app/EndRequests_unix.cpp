// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EndRequests.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace mk {

namespace {
int g_pipe[2] = {-1, -1};

// A shutdown or kill, a closed session, Ctrl+C in the terminal the program was started from: each
// would otherwise end the program at once, in the middle of writing to the device.
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
}
} // namespace

// A socket pair the signal handler writes into; its other end wakes the event loop.
class EndRequests::Watch
{
public:
    explicit Watch(EndRequests *owner)
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
            return;
        m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, owner);
        QObject::connect(m_notifier, &QSocketNotifier::activated, owner, [owner] {
            char buffer[16];
            while (::read(g_pipe[1], buffer, sizeof buffer) > 0) {
            }
            emit owner->requested();
        });
        struct sigaction action = {};
        action.sa_handler = onEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int endSignal : kEndSignals)
            sigaction(endSignal, &action, nullptr);
    }
    ~Watch()
    {
        for (const int endSignal : kEndSignals)
            std::signal(endSignal, SIG_DFL);
        for (int &fd : g_pipe)
            if (fd >= 0)
                ::close(std::exchange(fd, -1));
    }

private:
    QSocketNotifier *m_notifier = nullptr;
};

EndRequests::EndRequests(QObject *parent) : QObject(parent), m_watch(new Watch(this)) {}

EndRequests::~EndRequests() { delete m_watch; }

} // namespace mk
