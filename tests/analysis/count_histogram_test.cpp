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
std::vector<double> Record(double level, double noise, std::vector<double> spikes,
                           std::size_t n = 600, unsigned seed = 3) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0, noise);
    std::vector<double> x(n);
    for (double& v : x)
        v = std::nearbyint(level + g(rng));
    for (std::size_t i = 0; i < spikes.size(); ++i)
        x[(i * 97 + 13) % n] = spikes[i];
    return x;
}

struct Case {
    const char* rule;
    std::vector<double> x;
};

std::vector<Case> Cases() {
    return {
        {"noise round a level", Record(128, 2, {})},
        {"a few large values are clipped off", Record(128, 1, {250, 3, 255, 0, 240})},
        {"values below zero, as differences are", Record(-3, 4, {-200, 180})},
        {"one value only", std::vector<double>(50, 17)},
        {"an even count of two values", {4, 4, 9, 9, 9, 4}},
        {"a level between two counts", Record(127.5, 0.3, {})},
        {"a record of one sample", {42}},
    };
}

// The level as the rule reads: the median, then four times the mean within reach of it,
// summed in order.
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
        if (n == 0)
            break;
        level = sum / n;
    }
    return level;
}

TEST(CountHistogram, QuietLevelOfWholeCountsIsThePlainOneExactly) {
    for (const Case& c : Cases())
        for (double noise : {0.3, 1.0, 4.0})
            EXPECT_EQ(QuietLevel(c.x, noise), PlainLevel(c.x, noise)) << c.rule << ", " << noise;
}

TEST(CountHistogram, ClippedRmsOfWholeCountsIsTheGeneralOnesExactly) {
    // Halved, the counts are no longer whole and take the general path; halving scales every
    // sum and square root exactly.
    for (const Case& c : Cases()) {
        std::vector<double> half(c.x);
        for (double& v : half)
            v /= 2;
        EXPECT_EQ(ClippedRms(c.x), 2 * ClippedRms(half)) << c.rule;
        if (c.x.size() < 3)
            continue;
        std::vector<double> steps;
        for (std::size_t i = 1; i < half.size(); ++i)
            steps.push_back(half[i] - half[i - 1]);
        EXPECT_EQ(NoiseFromSteps(c.x), std::max(2 * ClippedRms(steps) / std::sqrt(2.0), kMinNoise))
            << c.rule;
    }
}

TEST(CountHistogram, TakesOnlyWholeNumbersWithinReach) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* rule;
        std::vector<double> x;
        bool taken;
    } cases[] = {
        {"counts", {0, 255, 128}, true},
        {"the widest values taken", {-kCountReach, kCountReach}, true},
        {"a fraction", {1, 2.5, 3}, false},
        {"beyond reach", {0, kCountReach + 1.0}, false},
        {"not a number", {1, nan}, false},
        {"endless", {1, std::numeric_limits<double>::infinity()}, false},
    };
    for (const auto& c : cases) {
        CountHistogram h;
        EXPECT_EQ(h.OfValues(c.x), c.taken) << c.rule;
        EXPECT_EQ(h.OfSteps(c.x), c.taken) << c.rule;
    }
}

TEST(CountHistogram, MedianAndSumsOverRanges) {
    CountHistogram h;
    ASSERT_TRUE(h.OfValues(std::vector<double>{5, -2, 7, 5, 0, 9}));
    EXPECT_EQ(h.Median(), 5); // index 3 of -2 0 5 5 7 9
    const struct {
        double level, reach;
        std::size_t n;
        double sum;
    } within[] = {
        {5, 0, 2, 10}, {5, 2, 3, 17}, {0.5, 0.5, 1, 0}, {100, 3, 0, 0}, {-50, 3, 0, 0},
    };
    for (const auto& w : within) {
        CountHistogram::Sums s = h.Within(w.level, w.reach);
        EXPECT_EQ(s.n, w.n) << w.level << " " << w.reach;
        EXPECT_EQ(s.sum, w.sum) << w.level << " " << w.reach;
    }
    const struct {
        double cap2;
        std::size_t n;
        double squares;
    } caps[] = {{4, 2, 4}, {25, 4, 54}, {1e300, 6, 184}, {-1, 0, 0}};
    for (const auto& c : caps) {
        CountHistogram::Sums s = h.SquaresUpTo(c.cap2);
        EXPECT_EQ(s.n, c.n) << c.cap2;
        EXPECT_EQ(s.squares, c.squares) << c.cap2;
    }
    ASSERT_TRUE(h.OfSteps(std::vector<double>{3, 1, 4, 1, 5}));
    EXPECT_EQ(h.Size(), 4u);
    EXPECT_EQ(h.SquaresUpTo(1e300).squares, 4 + 9 + 9 + 16);
}

} // namespace
} // namespace r470
