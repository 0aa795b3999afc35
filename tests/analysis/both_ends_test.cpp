// The fault from both ends: the arithmetic and its refusals, and generated pairs of records
// of one cable taken from each end, scored against the fault's known place.
#include "analysis/both_ends.h"
#include "support/line_family.h"
#include "waveform/units.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(BothEnds, DistancesFromEachEndAndTheFactorOrTheReason) {
    struct Row {
        double length;
        bool feet;
        double nsA, nsB;
        double fromA; // 0 when refused
        int diel;
        const char* refusal; // a piece of the reason
    };
    // 1000 ns two-way at PVF 0.660 is 98.934 m (324.59 ft).
    const Row rows[] = {
        {98.934, false, 250, 750, 24.7335, 660, ""},
        {98.934 * kFeetPerMetre, true, 600, 400, 98.934 * kFeetPerMetre * 0.6, 660, ""},
        {0, false, 250, 750, 0, 0, "greater than 0"},
        {100, false, 0, 750, 0, 0, "after the launch on both"},
        {100, false, 500, -1, 0, 0, "after the launch on both"},
        {10, false, 500, 500, 0, 0, "outside 0.300 to 0.999"},  // factor 0.067
        {200, false, 500, 500, 0, 0, "outside 0.300 to 0.999"}, // factor 1.33
    };
    for (const Row& r : rows) {
        BothEndsFix f = LocateFromBothEnds(r.length, r.feet, r.nsA, r.nsB);
        SCOPED_TRACE(r.refusal);
        EXPECT_EQ(f.diel, r.diel);
        if (r.diel == 0) {
            EXPECT_NE(f.refusal.find(r.refusal), std::string::npos) << f.refusal;
            continue;
        }
        EXPECT_TRUE(f.refusal.empty()) << f.refusal;
        EXPECT_NEAR(f.fromA, r.fromA, 1e-6);
        EXPECT_NEAR(f.fromA + f.fromB, r.length, 1e-9);
    }
    BothEndsFix f = LocateFromBothEnds(98.934, false, 250, 750);
    EXPECT_EQ(BothEndsText(f, false, "A.KEL", "B.KEL"),
              "From A (A.KEL): 24.73 m\nFrom B (B.KEL): 74.20 m\nPVF 0.660");
}

// A cable of `metres` at factor `diel` with a fault `at` metres from end A, seen from `end`
// (0: A, 1: B); the far end is matched, a smaller reflection lies between.
LineModel FromEnd(double metres, int diel, double at, int end, test::RangeSetting r,
                  unsigned seed) {
    const double nsPerMetre = 1 / NsToMetres(diel, 1);
    LineModel m;
    m.intervalNs = r.intervalNs;
    m.pulseWidthNs = r.pulseNs;
    m.noise = 1;
    m.seed = seed;
    m.lossDbPerUs = 20 / (m.samples * m.intervalNs / 1000);
    const double fault = (end == 0 ? at : metres - at) * nsPerMetre;
    const double other = (end == 0 ? 0.8 * at : metres - 0.8 * at) * nsPerMetre;
    m.reflections = {{std::min(fault, other), fault < other ? -0.5 : 0.15},
                     {std::max(fault, other), fault < other ? 0.15 : -0.5}};
    return m;
}

TEST(BothEnds, GeneratedPairsFindTheFaultWithoutTheFactor) {
    struct Pair {
        double metres;
        int diel;
        double at;
        test::RangeSetting range;
    };
    const Pair pairs[] = {
        {60, 660, 21, {10, 0.5}},    {90, 550, 70, {10, 0.5}},     {250, 800, 80, {20, 2}},
        {1500, 660, 900, {100, 10}}, {6000, 560, 1700, {500, 50}},
    };
    double worst = 0;
    for (const Pair& p : pairs)
        for (unsigned seed = 1; seed <= 5; ++seed) {
            std::optional<double> t[2];
            for (int end = 0; end < 2; ++end)
                t[end] = FaultTimeFromLaunch(AnalyseTrace(test::TraceOf(FromEnd(
                                                 p.metres, p.diel, p.at, end, p.range, seed))),
                                             std::nullopt);
            ASSERT_TRUE(t[0] && t[1]) << p.metres;
            BothEndsFix f = LocateFromBothEnds(p.metres, false, *t[0], *t[1]);
            ASSERT_TRUE(f.refusal.empty()) << f.refusal;
            const double twoSamples = NsToMetres(p.diel, 2 * p.range.intervalNs);
            const double allowed = std::max(twoSamples, 0.005 * p.metres);
            EXPECT_NEAR(f.fromA, p.at, allowed) << p.metres << " m, seed " << seed;
            EXPECT_NEAR(f.diel, p.diel, 10) << p.metres << " m, seed " << seed;
            worst = std::max(worst, std::abs(f.fromA - p.at) / allowed);
        }
    std::printf("worst error %.2f of its allowance\n", worst);
}

TEST(BothEnds, TheFaultTimeIsTheLargestEventsOrTheOneAskedFor) {
    TraceAnalysis a;
    EXPECT_FALSE(FaultTimeFromLaunch(a, 100.0)); // no launch
    a.hasLaunch = true;
    a.launchOnsetNs = 2;
    EXPECT_FALSE(FaultTimeFromLaunch(a, std::nullopt)); // no event
    a.events = {TraceEvent{}, TraceEvent{}};
    a.events[0].onsetNs = 300;
    a.events[1].onsetNs = 700;
    a.largest = 1;
    EXPECT_EQ(FaultTimeFromLaunch(a, std::nullopt), 698);
    EXPECT_EQ(FaultTimeFromLaunch(a, 302.0), 300);
}

} // namespace
} // namespace r470
