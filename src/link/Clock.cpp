// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Clock.h"

#include <chrono>
#include <thread>

namespace mk {

qint64 SteadyClock::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SteadyClock::sleepUs(qint64 us)
{
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

SteadyClock &steadyClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace mk
