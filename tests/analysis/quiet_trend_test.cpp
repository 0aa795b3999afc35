// The followed baseline: a level, a steady drift, and masked stretches bridged by the quiet
// samples on either side. (Built with sanitizers, these also guard its reads within the record.)
#include "analysis/pulse_detect.h"

#include <gtest/gtest.h>

#include <functional>

namespace r470 {
namespace {

TEST(QuietTrend, FollowsTheQuietSamplesAndBridgesTheMaskedOnes) {
    const int n = 1000;
    const struct {
        const char* rule;
        std::function<double(int)> sample;
        int maskFrom, maskTo; // [from, to) masked
        std::function<double(int)> trend;
    } cases[] = {
        {"a level", [](int) { return 40.0; }, 0, 0, [](int) { return 40.0; }},
        {"a steady drift", [](int i) { return 20 + 0.05 * i; }, 0, 0,
         [](int i) { return 20 + 0.05 * i; }},
        {"a pulse masked on a drift",
         [](int i) { return (i >= 400 && i < 450 ? 90.0 : 0.0) + 20 + 0.05 * i; }, 380, 480,
         [](int i) { return 20 + 0.05 * i; }},
        {"nothing quiet", [](int) { return 40.0; }, 0, n, [](int) { return 0.0; }},
    };
    for (const auto& c : cases) {
        std::vector<double> x(n);
        std::vector<char> masked(n, 0);
        for (int i = 0; i < n; ++i) {
            x[i] = c.sample(i);
            masked[i] = i >= c.maskFrom && i < c.maskTo;
        }
        for (int reach : {16, 100}) {
            std::vector<double> t = QuietTrend(x, masked, reach);
            ASSERT_EQ(t.size(), x.size());
            for (int i = 0; i < n; i += 7)
                ASSERT_NEAR(t[i], c.trend(i), 1e-6)
                    << c.rule << ", reach " << reach << ", at " << i;
        }
    }
}

} // namespace
} // namespace r470
