// SPDX-License-Identifier: GPL-3.0-or-later
#include "StopSignals.h"

#include <csignal>

namespace mk::tool {

namespace {
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

void installStopSignals(StopHandler handler)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // reads and waits of the exchange go on
    for (const int s : kStopSignals)
        sigaction(s, &action, nullptr);
}

void restoreStopSignals()
{
    for (const int s : kStopSignals)
        std::signal(s, SIG_DFL);
}

} // namespace mk::tool
