// A clock that moves only when something sleeps on it, so pacing and time bounds run at
// once and give the same figures on every run.
#pragma once

#include "instrument/clock.h"

#include <algorithm>

namespace r470::test {

class FakeClock : public Clock {
  public:
    std::int64_t now = 1000000;
    std::int64_t sleeps = 0;
    std::int64_t NowUs() override { return now; }
    void SleepUntilUs(std::int64_t t) override {
        ++sleeps;
        now = std::max(now, t);
    }
};

} // namespace r470::test
