// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wall and CPU time of this process and of another one (the simulator), and the load of the
// machine, for the benchmark programs.

#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <string>
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

// CPU time of every thread of another process, from the scheduler's nanosecond accounting
// (finer than the 10 ms ticks of /proc/PID/stat); -1 when it cannot be read.
inline double processCpuSeconds(long pid)
{
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR *tasks = opendir(dir.c_str());
    if (!tasks)
        return -1;
    double total = 0;
    while (const dirent *e = readdir(tasks)) {
        if (e->d_name[0] == '.')
            continue;
        if (FILE *f = std::fopen((dir + "/" + e->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1)
                total += double(ns) / 1e9;
            std::fclose(f);
        }
    }
    closedir(tasks);
    return total;
}

// "0.52 0.61 0.70": the load averages over 1, 5 and 15 minutes.
inline std::string loadAverage()
{
    char text[64] = "?";
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        double a = 0, b = 0, c = 0;
        if (std::fscanf(f, "%lf %lf %lf", &a, &b, &c) == 3)
            std::snprintf(text, sizeof text, "%.2f %.2f %.2f", a, b, c);
        std::fclose(f);
    }
    return text;
}

// Time the bytes take on a line at this rate: start bit, 8 data bits, two stop bits.
inline double wireSeconds(double bytes, double baud) { return bytes * 11.0 / baud; }

} // namespace mk::bench
