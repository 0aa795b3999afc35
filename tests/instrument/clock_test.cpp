#include "instrument/clock.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

// The pause after each sent byte and every wait loop depend on a sleep that really sleeps:
// neither returning at once (a spun core, bytes sent too fast) nor at the system's coarse tick.
TEST(SteadyClockTest, SleepsAtLeastTheTimeAskedAndNotMuchMore) {
    SteadyClock clock;
    const std::int64_t start = clock.NowUs();
    clock.SleepUs(5000);
    const std::int64_t took = clock.NowUs() - start;
    EXPECT_GE(took, 5000);
    EXPECT_LE(took, 20000);
}

} // namespace
} // namespace r470
