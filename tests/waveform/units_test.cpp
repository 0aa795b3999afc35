#include "waveform/units.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(AxisFormat, ValuesAtDielectric660) {
    EXPECT_EQ(FormatAxisValue(660, AxisMetres, 1000), "98.93m");
    EXPECT_EQ(FormatAxisValue(660, AxisFeet, 1000), "324.5ft");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 999), "999ns");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 1000), "1\xB5s");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 1500), "1.5\xB5s");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 250), "250ns");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 12.25), "12.2ns");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 123456), "123.456\xB5s");
}

TEST(AxisFormat, DecimalClassesByMagnitude) {
    // Metres: two decimals below 100, one below 1000, none above.
    EXPECT_EQ(FormatAxisValue(1000, AxisMetres, 100 / 0.1499 * 0.5), "50m");
    EXPECT_EQ(FormatAxisValue(1000, AxisMetres, 500 / 0.1499), "500m");
    EXPECT_EQ(FormatAxisValue(1000, AxisMetres, 1234.4 / 0.1499), "1234m");
    EXPECT_EQ(FormatAxisValue(1000, AxisMetres, 123.44 / 0.1499), "123.4m");
    // Feet: one decimal below 1000, then none; a number without a point keeps its zeros.
    EXPECT_EQ(FormatAxisValue(1000, AxisFeet, 1200 / 3.28 / 0.1499), "1200ft");
    EXPECT_EQ(FormatAxisValue(1000, AxisFeet, 12 / 3.28 / 0.1499), "12ft");
    // Differences can be negative; they take the first class of their unit.
    EXPECT_EQ(FormatAxisValue(660, AxisTime, -200), "-200ns");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, -1500), "-1500ns");
    EXPECT_EQ(FormatAxisValue(660, AxisMetres, 0), "0m");
    EXPECT_EQ(FormatAxisValue(660, AxisFeet, 0), "0ft");
    EXPECT_EQ(FormatAxisValue(660, AxisTime, 0), "0ns");
}

TEST(AxisFormat, TrimZerosOnlyAfterAPoint) {
    EXPECT_EQ(TrimZeros("12.000"), "12");
    EXPECT_EQ(TrimZeros("12.50"), "12.5");
    EXPECT_EQ(TrimZeros("1200"), "1200");
    EXPECT_EQ(TrimZeros("100."), "100");
    EXPECT_EQ(TrimZeros("0.0"), "0");
    EXPECT_EQ(Fixed(2.5, 0), "2");
    EXPECT_EQ(Fixed(-3.25, 1), "-3.2");
    EXPECT_EQ(Fixed(-0.001, 2), "0.00");
}

TEST(Conversions, DistanceAndVelocityUseTheExactConstants) {
    EXPECT_DOUBLE_EQ(NsToMetres(660, 1000), 1000 * 0.1499 * 0.66);
    EXPECT_DOUBLE_EQ(MetresToNs(660, NsToMetres(660, 345)), 345);
    EXPECT_DOUBLE_EQ(NsToAxisUnits(660, AxisFeet, 1000), 1000 * 0.1499 * 0.66 * 3.28);
    EXPECT_DOUBLE_EQ(NsToAxisUnits(660, AxisTime, 1000), 1000);
    EXPECT_DOUBLE_EQ(NsToAxisUnits(660, 7, 1000), NsToMetres(660, 1000));
    EXPECT_EQ(MetresToNs(0, 100), 0) << "no division by a zero dielectric";
    EXPECT_DOUBLE_EQ(VelocityValue(DielPvf, AxisMetres, 660), 0.66);
    EXPECT_EQ(Fixed(VelocityValue(DielV, AxisMetres, 660), 0), "198");
    EXPECT_EQ(Fixed(VelocityValue(DielVHalf, AxisMetres, 660), 0), "99");
    EXPECT_EQ(Fixed(VelocityValue(DielV, AxisFeet, 660), 0), "649");
    EXPECT_EQ(Fixed(VelocityValue(DielVHalf, AxisFeet, 660), 0), "325");
    EXPECT_DOUBLE_EQ(VelocityValue(DielPvf, AxisFeet, 660), 0.66) << "PVF has no unit";
}

TEST(Gain, FactorAndDecibels) {
    const int codes[] = {-16, -8, -4, -2, 1, 2, 4, 8, 16};
    const int dbs[] = {-24, -18, -12, -6, 0, 6, 12, 18, 24};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(GetGaindBs(codes[i]), dbs[i]) << codes[i];
    EXPECT_EQ(GetGaindBs(3), 12);
    EXPECT_EQ(GetGaindBs(0), -6);
    EXPECT_EQ(GetGaindBs(-3), -12);
    EXPECT_DOUBLE_EQ(GainFactor(4), 4);
    EXPECT_DOUBLE_EQ(GainFactor(-4), 0.25);
    EXPECT_DOUBLE_EQ(GainFactor(1), 1);
}

TEST(Rounding, HalvesGoToEven) {
    EXPECT_EQ(Nearest(302.5), 302);
    EXPECT_EQ(Nearest(303.5), 304);
    EXPECT_EQ(Nearest(-2.5), -2);
    EXPECT_EQ(Nearest(0.49), 0);
    // Beyond an int's range it holds at the ends; a fraction just below a half rounds down.
    EXPECT_EQ(Nearest(1e300), 2147483647);
    EXPECT_EQ(Nearest(-1e300), -2147483647 - 1);
    EXPECT_EQ(Nearest(-3e9), -2147483647 - 1);
    EXPECT_EQ(Nearest(0.49999999999999994), 0);
}

} // namespace
} // namespace r470
