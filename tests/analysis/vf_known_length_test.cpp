// The velocity factor from a piece of known length: the display's distance conversion run
// backwards, with its constants, and the refusals outside 0.300 to 0.999.
#include "analysis/vf_known_length.h"

#include <gtest/gtest.h>

#include <cmath>

namespace r470 {
namespace {

TEST(VfKnownLength, FactorFromLengthAndTime) {
    struct Row {
        double length;
        bool feet;
        double ns;
        int diel;            // 0 when refused
        const char* refusal; // part of the refusal
    };
    const Row rows[] = {
        // 100 m over 1006.8 ns is 0.66261 with 0.1499 m/ns (0.66216 with 0.15).
        {100, false, 1006.8, 663, ""},
        // 1000 ft is 304.878 m with 3.28 ft/m: 0.66261 (0.66245 with 3.2808).
        {1000, true, 3069.5, 663, ""},
        // The ends of the range, after rounding to three decimals.
        {0.9994 * 149.9, false, 1000, 999, ""},
        {0.2996 * 149.9, false, 1000, 300, ""},
        {0.9996 * 149.9, false, 1000, 0, "0.300 to 0.999"},
        {0.2994 * 149.9, false, 1000, 0, "0.300 to 0.999"},
        {100, false, 100, 0, "100.00 m over 100.0 ns gives a velocity factor of 6.671"},
        {100, true, 100, 0, "100.00 ft over"},
        {0, false, 1000, 0, "greater than 0"},
        {-5, false, 1000, 0, "greater than 0"},
        {NAN, false, 1000, 0, "greater than 0"},
        {INFINITY, false, 1000, 0, "greater than 0"},
        {100, false, 0, 0, "same time"},
        {100, false, NAN, 0, "same time"},
    };
    for (const Row& r : rows) {
        KnownLengthFactor f = FactorFromKnownLength(r.length, r.feet, r.ns);
        EXPECT_EQ(f.diel, r.diel) << r.length << " over " << r.ns;
        if (*r.refusal)
            EXPECT_NE(f.refusal.find(r.refusal), std::string::npos) << f.refusal;
        else
            EXPECT_EQ(f.refusal, "");
    }
}

} // namespace
} // namespace r470
