// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Millisecond time for the link's deadlines and pauses. The link never reads the system time
// directly, so tests can run its time-outs on a virtual clock without sleeping.

#include <QtGlobal>
#include <atomic>

namespace mk {

class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale with an arbitrary origin.
    virtual qint64 nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
    // Finer sleeps for waits shorter than a millisecond or not a whole number of them (the
    // time a frame's bytes still need on the line).
    virtual void sleepUs(qint64 us) = 0;
};

// The monotonic system clock.
class SteadyClock : public Clock
{
public:
    qint64 nowMs() override;
    void sleepMs(int ms) override;
    void sleepUs(qint64 us) override;
};

// Time that moves only when someone sleeps on it or advances it: time-outs of any length are
// checked in microseconds of real time. It counts microseconds; milliseconds are whole ones.
class VirtualClock : public Clock
{
public:
    qint64 nowMs() override { return m_nowUs / 1000; }
    qint64 nowUs() const { return m_nowUs; }
    void sleepMs(int ms) override { advance(ms); }
    void sleepUs(qint64 us) override
    {
        if (us > 0)
            m_nowUs += us;
    }
    void advance(qint64 ms) { sleepUs(ms * 1000); }

private:
    std::atomic<qint64> m_nowUs{0};
};

SteadyClock &steadyClock();

} // namespace mk
