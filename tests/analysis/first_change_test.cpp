// The first change against a healthy reference, scored on generated pairs of the same cable
// before and after a new fault.
#include "analysis/first_change.h"
#include "support/line_family.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace r470 {
namespace {

struct Pairing {
    const char* name;
    double referenceIntervalFactor; // the reference's sample interval over the waveform's
};

TEST(FirstChange, FindsANewFaultOnLossyCables) {
    const Pairing pairings[] = {
        {"same interval", 1}, {"reference twice as fine", 0.5}, {"reference twice as coarse", 2}};
    for (const Pairing& p : pairings) {
        int required = 0, found = 0, off = 0, spurious = 0;
        double worst = 0;
        for (const test::RangeSetting& r : test::kRangeSettings) {
            std::mt19937 rng(static_cast<unsigned>(r.pulseNs * 7 + r.intervalNs));
            for (int i = 0; i < 25; ++i) {
                LineModel healthy = test::RandomCable(rng, r);
                healthy.noise = std::min(healthy.noise, 2.0);
                LineModel now = healthy;
                now.seed = healthy.seed + 1;
                const double end = healthy.reflections.empty()
                                       ? 0.8 * healthy.samples * r.intervalNs
                                       : healthy.reflections.back().atNs;
                const double at = std::uniform_real_distribution<double>(0.3, 0.9)(rng) * end;
                const double c =
                    std::uniform_real_distribution<double>(0.05, 0.4)(rng) * (rng() % 2 ? 1 : -1);
                auto it = std::find_if(now.reflections.begin(), now.reflections.end(),
                                       [at](const LineReflection& x) { return x.atNs > at; });
                std::size_t k = static_cast<std::size_t>(it - now.reflections.begin());
                now.reflections.insert(it, {at, c});
                // Nothing of the old cable may stand near the new fault.
                bool clear = at > 10 * r.pulseNs;
                for (const LineReflection& x : healthy.reflections)
                    clear = clear && std::abs(x.atNs - at) > 6 * r.pulseNs + 40 * r.intervalNs;
                if (!clear)
                    continue;
                LineModel reference = healthy;
                reference.intervalNs *= p.referenceIntervalFactor;
                reference.samples =
                    std::min(2048, static_cast<int>(healthy.samples / p.referenceIntervalFactor));
                FirstChange fc = CompareWithReference(test::TraceOf(now), test::TraceOf(reference));
                ASSERT_TRUE(fc.problem.empty()) << fc.problem;
                const test::ReflectionTruth truth = test::TruthOf(now, k);
                const double difference = std::sqrt(2.0) * now.noise;
                if (truth.peak < 6 * difference || at > reference.samples * reference.intervalNs)
                    continue;
                ++required;
                if (!fc.found) {
                    continue;
                }
                double distance = truth.onsetNs - now.launchStartNs;
                double error = std::abs(fc.onsetNs - fc.wave.launchOnsetNs - distance);
                double tolerance = std::max(2 * r.intervalNs, 0.01 * distance);
                worst = std::max(worst, error / tolerance);
                if (fc.onsetNs < truth.firstNs - 10 * r.intervalNs)
                    ++spurious;
                else if (error > tolerance)
                    ++off;
                else
                    ++found;
            }
        }
        std::printf("%s: %d clear new faults, %d found, %d onset off (worst %.2f of tolerance), "
                    "%d changes reported before the fault\n",
                    p.name, required, found, off, worst, spurious);
        EXPECT_EQ(spurious, 0) << p.name;
        EXPECT_LE(off * 50, required) << p.name;
        EXPECT_GE(found + off, required) << p.name;
    }
}

TEST(FirstChange, SameCableTwiceShowsNoChange) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        LineModel a;
        a.noise = 1.5;
        a.lossDbPerUs = 30;
        a.reflections = {{300, 0.2}, {800, 0.9}};
        a.seed = seed;
        LineModel b = a;
        b.seed = seed + 1000;
        FirstChange fc = CompareWithReference(test::TraceOf(a), test::TraceOf(b));
        EXPECT_TRUE(fc.problem.empty());
        EXPECT_FALSE(fc.found) << "seed " << seed << " at " << fc.onsetNs;
    }
}

TEST(FirstChange, RefusesRecordsThatCannotBeCompared) {
    LineModel a;
    a.reflections = {{400, 0.9}};
    LineModel coarse = a;
    coarse.intervalNs = 20; // the pulse is 10 ns
    LineModel flat = a;
    flat.launchCounts = 0;
    TraceData zero = test::TraceOf(a);
    zero.header.SampleIntLo = 0;
    struct Row {
        TraceData wave, reference;
        const char* says;
    } rows[] = {
        {test::TraceOf(a), test::TraceOf(coarse), "too far apart"},
        {test::TraceOf(a), zero, "sample interval of 0"},
        {test::TraceOf(flat), test::TraceOf(a), "no launched pulse"},
    };
    for (const Row& r : rows)
        EXPECT_NE(CompareWithReference(r.wave, r.reference).problem.find(r.says), std::string::npos)
            << r.says;
}

} // namespace
} // namespace r470
