#pragma once
// Wall and CPU time of this process, for the benchmark programs.

#include <chrono>
#include <sys/resource.h>

namespace mk::bench {

inline double wallSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Time the bytes take on a line at this rate: start bit, 8 data bits, two stop bits.
inline double wireSeconds(double bytes, double baud)
{
    return bytes * 11.0 / baud;
}

} // namespace mk::bench
