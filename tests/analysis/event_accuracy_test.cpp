// The analysis scored on families of generated lossy cables: what it finds against what
// each cable holds.
#include "analysis/trace_events.h"
#include "support/event_score.h"
#include "support/line_family.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace r470 {
namespace {

using test::RangeSetting;
using test::Score;

class EventAccuracy : public ::testing::TestWithParam<RangeSetting> {};

TEST_P(EventAccuracy, FindsEveryClearReflectionOnLossyCables) {
    const RangeSetting r = GetParam();
    std::mt19937 rng(static_cast<unsigned>(r.pulseNs * 1000 + r.intervalNs * 10));
    Score s;
    for (int i = 0; i < 150; ++i)
        test::ScoreCable(test::RandomCable(rng, r), s);
    std::printf("pulse %g ns, interval %g ns: %d cables, %d clear reflections, %d found, "
                "%d missed, %d wrong side, %d onset off (worst %.2f of tolerance), %d false "
                "events, largest wrong %d of %d\n",
                r.pulseNs, r.intervalNs, s.cables, s.required, s.found, s.missed, s.wrongSide,
                s.offOnset, s.worstOnset, s.falseEvents, s.largestWrong, s.largestAsked);
    // Every clear reflection is found on its side; an onset outside its tolerance is rare
    // (on a tail of the reflection before, at low signal) and never far outside.
    EXPECT_EQ(s.missed, 0);
    EXPECT_EQ(s.wrongSide, 0);
    EXPECT_LE(s.offOnset * 100, s.required);
    EXPECT_LE(s.worstOnset, 1.5);
    EXPECT_EQ(s.falseEvents, 0);
    EXPECT_EQ(s.largestWrong, 0);
}

INSTANTIATE_TEST_SUITE_P(ShortAndLongRanges, EventAccuracy,
                         ::testing::ValuesIn(test::kRangeSettings));

} // namespace
} // namespace r470
