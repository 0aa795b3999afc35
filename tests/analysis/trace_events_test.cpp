// The rules of the analysis on single generated cables: what must be found, what must not.
#include "analysis/trace_events.h"
#include "support/line_family.h"
#include "waveform/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace r470 {
namespace {

LineModel Cable(double noise, std::vector<LineReflection> reflections, double baseline = 128,
                unsigned seed = 1) {
    LineModel m;
    m.noise = noise;
    m.baseline = baseline;
    m.seed = seed;
    m.lossDbPerUs = 20;
    m.reflections = std::move(reflections);
    return m;
}

struct Case {
    const char* rule;
    LineModel cable;
    std::vector<bool> up; // the events that must be found, by side
};

TEST(TraceEvents, FindsWhatStandsAboveTheNoiseAndNothingElse) {
    const Case cases[] = {
        // 3 counts on a quiet record: launch 90 counts, so 3.4% reflects.
        {"small reflection on a quiet record", Cable(0.4, {{400, 0.034}}), {true}},
        {"open is up, short is down", Cable(1, {{300, -0.3}, {700, 0.9}}), {false, true}},
        {"matched end: the launch alone", Cable(3, {}), {}},
        {"a level between two counts, no noise", Cable(0, {}, 128.5), {}},
        {"a reflection below the noise", Cable(3, {{500, 0.05}}), {}},
        // A second pulse a third of the way into the first splits its top.
        {"split top is one reflection",
         Cable(0.5, {{400, 0.3}, {406, -0.12}, {412, 0.12}}),
         {true}},
    };
    for (const Case& c : cases) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            LineModel m = c.cable;
            m.seed = seed;
            TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
            ASSERT_TRUE(a.hasLaunch) << c.rule;
            ASSERT_EQ(a.events.size(), c.up.size()) << c.rule << ", seed " << seed;
            for (std::size_t i = 0; i < c.up.size(); ++i)
                EXPECT_EQ(a.events[i].up, c.up[i]) << c.rule << ", seed " << seed;
        }
    }
}

TEST(TraceEvents, PureNoiseShowsNoEventWhateverTheSeed) {
    // Noise alone, and noise after a launch into a matched cable.
    for (double launch : {0.0, 90.0})
        for (double noise : {0.5, 1.0, 2.0, 3.0})
            for (unsigned seed = 1; seed <= 150; ++seed) {
                LineModel m = Cable(noise, {}, 127.5, seed);
                m.launchCounts = launch;
                TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
                EXPECT_EQ(a.hasLaunch, launch > 0);
                EXPECT_TRUE(a.events.empty()) << "noise " << noise << ", seed " << seed;
            }
}

TEST(TraceEvents, SlowWanderOfTheBaselineIsNoEvent) {
    LineModel m = Cable(1, {{600, 0.5}});
    TraceData d = test::TraceOf(m);
    // A drift of two counts over the record, as a warming converter gives.
    for (int i = 0; i < m.samples; ++i)
        d.samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            d.samples[static_cast<std::size_t>(i)] + std::lround(2.0 * i / m.samples));
    TraceAnalysis a = AnalyseTrace(d);
    ASSERT_EQ(a.events.size(), 1u);
    EXPECT_NEAR(a.events[0].onsetNs - a.launchOnsetNs, test::TruthOf(m, 0).onsetNs, 1.0);
}

TEST(TraceEvents, LaunchOnsetAmplitudeAndTheLargestEvent) {
    LineModel m = Cable(0.5, {{300, -0.2}, {600, 0.6}, {850, 0.3}});
    m.launchStartNs = 3.2;
    m.lossDbPerUs = 0;
    TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
    EXPECT_NEAR(a.launchOnsetNs, 3.2, 0.25);
    EXPECT_NEAR(a.launchAmplitude, -90, 2); // the instrument stores the launch downwards
    EXPECT_NEAR(a.baseline, 128, 0.2);
    ASSERT_EQ(a.events.size(), 3u);
    EXPECT_EQ(a.largest, 1);
    // Reflection 0.6 after the 0.2 one let 96% through.
    EXPECT_NEAR(a.events[1].reflection, 0.6 * 0.96, 0.03);
    EXPECT_NEAR(a.events[1].returnLossDb, -20 * std::log10(0.576), 0.5);
    EXPECT_NEAR(a.events[0].amplitude, 0.2 * 90, 1.5); // short-like: upwards in samples
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(a.events[k].onsetNs, test::TruthOf(m, k).onsetNs, 1.0) << k;
}

TEST(TraceEvents, DistanceInEachUnitFromTheLaunchOnset) {
    TraceAnalysis a;
    a.launchOnsetNs = 2;
    struct Row {
        int units;
        double value;
    };
    // 1000 ns after the launch at PVF 0.660.
    for (Row r : {Row{AxisMetres, 98.934}, Row{AxisFeet, 324.504}, Row{AxisTime, 1000}})
        EXPECT_NEAR(DistanceFromLaunch(a, 1002, 660, r.units), r.value, 0.001) << r.units;
}

} // namespace
} // namespace r470
