// Time for the transfer: a monotonic clock in microseconds that can also sleep. Tests pass a
// clock that only moves when asked, so pacing and bounds run without waiting.
#pragma once

#include <cstdint>

namespace r470 {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t NowUs() = 0;
    // Returns at or after `t`; never spins.
    virtual void SleepUntilUs(std::int64_t t) = 0;
    void SleepUs(std::int64_t d) { SleepUntilUs(NowUs() + d); }
};

// The system's monotonic clock; on POSIX with absolute sleeps, so an interrupted sleep resumes
// to the same end, on Windows with a high-resolution waitable timer.
class SteadyClock : public Clock {
  public:
    // Asks for wake-ups without the kernel's default 50 us of slack, which would add up to
    // a twentieth on every paced millisecond.
    SteadyClock();
    std::int64_t NowUs() override;
    void SleepUntilUs(std::int64_t t) override;
};

} // namespace r470
