// Whole-count records summed through a histogram give the figures of a plain pass over the
// samples to the last bit, and anything else is left to that pass.
#include "analysis/count_histogram.h"
#include "analysis/pulse_detect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace r470 {
namespace {

// Counts round a level, with a few far off it.
std::vector<double> Record(double level, double noise, std::vector<double> spikes) {
    std::mt19937 rng(3);
    std::normal_distribution<double> g(0, noise);
    std::vector<double> x(600);
    for (double& v : x)
        v = std::nearbyint(level + g(rng));
    for (std::size_t i = 0; i < spikes.size(); ++i)
        x[i * 97 + 13] = spikes[i];
    return x;
}

// The level as the rule reads: the median, then four times the mean within reach of it.
double PlainLevel(std::vector<double> x, double noise) {
    std::sort(x.begin(), x.end());
    double level = x[x.size() / 2];
    for (int round = 0; round < 4; ++round) {
        double sum = 0;
        int n = 0;
        for (double v : x)
            if (std::abs(v - level) <= 3 * noise + 0.5) {
                sum += v;
                ++n;
            }
        level = sum / n;
    }
    return level;
}

TEST(CountHistogram, WholeCountsGiveThePlainFiguresExactly) {
    const struct {
        const char* rule;
        std::vector<double> x;
    } cases[] = {
        {"noise round a level", Record(128, 2, {})},
        {"a few large values are clipped off", Record(128, 1, {250, 3, 255, 0, 240})},
        {"values below zero, as differences are", Record(-3, 4, {-200, 180})},
        {"an even count of two values", {4, 4, 9, 9, 9, 4}},
        {"a level between two counts", Record(127.5, 0.3, {})},
    };
    for (const auto& c : cases) {
        for (double noise : {0.3, 1.0, 4.0})
            EXPECT_EQ(QuietLevel(c.x, noise), PlainLevel(c.x, noise)) << c.rule << ", " << noise;
        // Halved, the counts are no longer whole and take the general path; halving scales
        // every sum and square root exactly.
        std::vector<double> half(c.x), steps;
        for (double& v : half)
            v /= 2;
        for (std::size_t i = 1; i < half.size(); ++i)
            steps.push_back(half[i] - half[i - 1]);
        EXPECT_EQ(ClippedRms(c.x), 2 * ClippedRms(half)) << c.rule;
        EXPECT_EQ(NoiseFromSteps(c.x), std::max(2 * ClippedRms(steps) / std::sqrt(2.0), kMinNoise))
            << c.rule;
    }
}

TEST(CountHistogram, TakesOnlyWholeNumbersWithinReach) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::vector<double> x;
        bool taken;
    } cases[] = {
        {{-kCountReach, 0, 255, kCountReach}, true},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9.5}, false}, // a fraction past the first few values
        {{0, kCountReach + 1.0}, false},
        {{1, nan}, false},
        {{1, std::numeric_limits<double>::infinity()}, false},
    };
    for (const auto& c : cases) {
        CountHistogram h;
        EXPECT_EQ(h.OfValues(c.x), c.taken) << c.x.back();
        EXPECT_EQ(h.OfSteps(c.x), c.taken) << c.x.back();
    }
}

TEST(CountHistogram, SumsWithinReachAndUnderACapIncludeTheirEdges) {
    CountHistogram h;
    ASSERT_TRUE(h.OfValues(std::vector<double>{5, -2, 7, 5, 0, 9}));
    EXPECT_EQ(h.Median(), 5); // index 3 of -2 0 5 5 7 9
    EXPECT_EQ(h.Within(5, 2).n, 3u);
    EXPECT_EQ(h.Within(5, 2).sum, 17);
    EXPECT_EQ(h.SquaresUpTo(25).n, 4u);
    EXPECT_EQ(h.SquaresUpTo(25).squares, 54);
}

} // namespace
} // namespace r470
