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
};

// The monotonic system clock.
class SteadyClock : public Clock
{
public:
    qint64 nowMs() override;
    void sleepMs(int ms) override;
};

// Time that moves only when someone sleeps on it or advances it: time-outs of any length are
// checked in microseconds of real time.
class VirtualClock : public Clock
{
public:
    qint64 nowMs() override { return m_now; }
    void sleepMs(int ms) override { advance(ms); }
    void advance(qint64 ms)
    {
        if (ms > 0)
            m_now += ms;
    }
    void advanceTo(qint64 t)
    {
        if (t > m_now)
            m_now = t;
    }

private:
    std::atomic<qint64> m_now{0};
};

SteadyClock &steadyClock();

} // namespace mk
