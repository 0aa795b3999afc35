// The analysis on cables as field traces show them: a baseline that drifts, a fault just past
// the launch, a launch clipped by the converter. Scored as the plain families are.
#include "analysis/trace_events.h"
#include "support/event_score.h"
#include "support/line_family.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace r470 {
namespace {

using test::RangeSetting;
using test::Score;

struct Family {
    const char* name;
    // Turns a plain random cable into one of the family.
    void (*make)(std::mt19937& rng, LineModel& m);
    // Allowed in 60 cables where two difficulties meet: a reflection missed, a false event,
    // a wrong largest (an amplitude read on the launch's undershoot is approximate).
    int slack;
};

double Uniform(std::mt19937& rng, double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(rng);
}

// Up to 8 counts over the record, either way, in each of the drift's shapes.
void Drift(std::mt19937& rng, LineModel& m) {
    m.driftCounts = Uniform(rng, 2, 8) * (rng() % 2 ? 1 : -1);
    m.driftShape = static_cast<DriftShape>(rng() % 3);
}

// A shunt or series fault of a fifth to a third of the launch, 2.5 to 4 pulse widths after
// the launch starts, ahead of what the cable holds further on.
void NearLaunch(std::mt19937& rng, LineModel& m) {
    const double c = Uniform(rng, 0.2, 0.33) * (rng() % 3 ? -1 : 1);
    m.reflections.insert(m.reflections.begin(), {Uniform(rng, 2.5, 4) * m.pulseWidthNs, c});
}

// A launch beyond the converter's range, stored downwards (clipped at 0) or upwards (255).
void Clipped(std::mt19937& rng, LineModel& m) {
    m.launchCounts = Uniform(rng, 135, 170) * (rng() % 2 ? 1 : -1);
}

void DriftNearLaunch(std::mt19937& rng, LineModel& m) {
    Drift(rng, m);
    NearLaunch(rng, m);
}

void NearClippedLaunch(std::mt19937& rng, LineModel& m) {
    NearLaunch(rng, m);
    Clipped(rng, m);
}

void DriftClippedLaunch(std::mt19937& rng, LineModel& m) {
    Drift(rng, m);
    Clipped(rng, m);
}

class HarderCables : public ::testing::TestWithParam<RangeSetting> {};

TEST_P(HarderCables, FindEveryClearReflectionAndNoOther) {
    const RangeSetting r = GetParam();
    const Family families[] = {
        {"drift", Drift, 0},
        {"fault near the launch", NearLaunch, 1},
        {"clipped launch", Clipped, 0},
        {"drift and a fault near the launch", DriftNearLaunch, 1},
        {"a fault near a clipped launch", NearClippedLaunch, 1},
        {"drift and a clipped launch", DriftClippedLaunch, 0},
    };
    for (const Family& f : families) {
        std::mt19937 rng(static_cast<unsigned>(r.pulseNs * 1000 + r.intervalNs * 10) + 7);
        Score s;
        for (int i = 0; i < 60; ++i) {
            LineModel m = test::RandomCable(rng, r);
            f.make(rng, m);
            test::ScoreCable(m, s);
        }
        std::printf("%s, pulse %g ns, interval %g ns: %d clear reflections, %d found, %d missed, "
                    "%d wrong side, %d onset off (worst %.2f of tolerance), %d false events, "
                    "largest wrong %d of %d\n",
                    f.name, r.pulseNs, r.intervalNs, s.required, s.found, s.missed, s.wrongSide,
                    s.offOnset, s.worstOnset, s.falseEvents, s.largestWrong, s.largestAsked);
        EXPECT_LE(s.missed, f.slack) << f.name;
        EXPECT_EQ(s.wrongSide, 0) << f.name;
        // Onsets: a few just outside their tolerance at high noise, none far outside.
        EXPECT_LE(s.offOnset * 100, 3 * s.required) << f.name;
        EXPECT_LE(s.worstOnset, 1.5) << f.name;
        EXPECT_LE(s.falseEvents, f.slack) << f.name;
        EXPECT_LE(s.largestWrong, f.slack) << f.name;
    }
}

INSTANTIATE_TEST_SUITE_P(ShortAndLongRanges, HarderCables,
                         ::testing::ValuesIn(test::kRangeSettings));

LineModel PowerCable(double drift, DriftShape shape, unsigned seed) {
    LineModel m;
    m.intervalNs = 2;
    m.pulseWidthNs = 20;
    m.noise = 0.8;
    m.lossDbPerUs = 10;
    m.driftCounts = drift;
    m.driftShape = shape;
    m.seed = seed;
    return m;
}

// Single cables for the rules: a drift alone is never an event, and never hides one.
TEST(HarderCables, DriftNeitherInventsNorHidesNorMovesAnEvent) {
    const DriftShape shapes[] = {DriftShape::Steady, DriftShape::Recovery, DriftShape::Step};
    for (double drift : {-8.0, -6.0, 6.0, 8.0})
        for (DriftShape shape : shapes)
            for (unsigned seed = 1; seed <= 10; ++seed) {
                SCOPED_TRACE(testing::Message() << "drift " << drift << ", shape "
                                                << static_cast<int>(shape) << ", seed " << seed);
                // A matched cable, and one a level between two counts with little noise.
                LineModel quiet = PowerCable(drift, shape, seed);
                EXPECT_TRUE(AnalyseTrace(test::TraceOf(quiet)).events.empty());
                quiet.baseline = 127.5;
                quiet.noise = 0.3;
                EXPECT_TRUE(AnalyseTrace(test::TraceOf(quiet)).events.empty());
                // A shunt fault of 10 counts at 1,518 ns and a series one at 3,100 ns.
                LineModel m = PowerCable(drift, shape, seed);
                m.reflections = {{1518, -10 / m.launchCounts}, {3100, 0.15}};
                TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
                ASSERT_EQ(a.events.size(), 2u);
                for (std::size_t k = 0; k < 2; ++k) {
                    const double truth = test::TruthOf(m, k).onsetNs - m.launchStartNs;
                    EXPECT_EQ(a.events[k].up, k == 1);
                    EXPECT_NEAR(a.events[k].onsetNs - a.launchOnsetNs, truth,
                                std::max(2 * m.intervalNs, 0.01 * truth));
                }
            }
}

// The dead zone: a quarter of the launch reflected downwards 2.5 pulse widths after it is
// found, and the launch's own undershoot alone is not.
TEST(HarderCables, AFaultJustPastTheLaunchIsFoundTheUndershootIsNot) {
    for (double widths : {2.5, 3.0, 4.0})
        for (unsigned seed = 1; seed <= 10; ++seed) {
            LineModel m = PowerCable(0, DriftShape::Steady, seed);
            EXPECT_TRUE(AnalyseTrace(test::TraceOf(m)).events.empty()) << seed;
            m.reflections = {{widths * m.pulseWidthNs, -0.25}};
            TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
            ASSERT_EQ(a.events.size(), 1u) << widths << ", seed " << seed;
            EXPECT_FALSE(a.events[0].up);
            EXPECT_NEAR(a.events[0].onsetNs - a.launchOnsetNs, test::TruthOf(m, 0).onsetNs,
                        2 * m.intervalNs)
                << widths << ", seed " << seed;
        }
}

} // namespace
} // namespace r470
