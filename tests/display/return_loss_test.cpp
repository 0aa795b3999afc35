// Return loss measured on raw samples between two cursors.
#include "display/return_loss.h"
#include "shell/messages.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

// 200 samples of 1 ns at 128 with a pulse from sample 10 and a reflection from sample 50
// (the worked example's values), pulse width 1 ns: windows of three samples after the
// cursor's own.
TraceSlot Example() {
    TraceSlot s;
    s.Loaded = s.Shown = true;
    s.NsPerSample = 1;
    s.data.header.SampleCount = 200;
    s.data.header.PulseWidth = 1;
    s.data.header.DispGain = 1;
    s.data.samples.fill(128);
    const int pulse[] = {128, 180, 228, 200};
    const int echo[] = {128, 140, 153, 150};
    for (int k = 0; k < 4; ++k) {
        s.data.samples[static_cast<std::size_t>(9 + k)] = static_cast<std::uint8_t>(pulse[k]);
        s.data.samples[static_cast<std::size_t>(49 + k)] = static_cast<std::uint8_t>(echo[k]);
    }
    return s;
}

TEST(ReturnLoss, MeasuresBetweenTheCursorsWhicheverIsFirst) {
    TraceSlot s = Example();
    struct Case {
        double c1, c2;
        const char *ratio, *dB;
        int P, R;
    } cases[] = {
        {10, 50, "0.25", "12.04", 100, 25},     // the worked example
        {50, 10, "0.25", "12.04", 100, 25},     // swapped cursors
        {10.4, 49.6, "0.25", "12.04", 100, 25}, // times round to the nearest sample
        {50, 50, "1.00", "0.00", 25, 25},       // both on the same sample
        {9, 50, "0.25", "12.04", 100, 25},      // 128 from sample 9 on: up to 228
        {50, 11, "0.48", "6.36", 52, 25},       // from 180: down to 128 is the most
        {10, 11, "0.52", "5.68", 100, 52},
        {11, 10, "0.52", "5.68", 100, 52},
        {50, 11.5, "0.25", "12.04", 100, 25}, // 11.5 rounds to 12 (even): from 228
        {50, 12.5, "0.25", "12.04", 100, 25}, // 12.5 rounds to 12 as well
        {100, 150, "0.00", "0.00", 0, 0},     // a flat pulse window
        {10, 150, "0.00", "0.00", 100, 0},    // a flat reflection window
        {60, 10, "0.00", "0.00", 100, 0},
        {0.4, 50, "0.00", "0.00", 0, 25}, // rounds to sample 0: measured at 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c1 << ", " << c.c2);
        ReturnLoss r = MeasureReturnLoss(s, c.c1, c.c2);
        EXPECT_EQ(r.refusal, 0);
        EXPECT_EQ(r.pulse, c.P);
        EXPECT_EQ(r.reflection, c.R);
        EXPECT_EQ(r.ratioText, c.ratio);
        EXPECT_EQ(r.dBText, c.dB);
    }
}

TEST(ReturnLoss, ALargerReflectionGivesNegativeDecibels) {
    TraceSlot s = Example();
    ReturnLoss r = MeasureReturnLoss(s, 50, 10);
    EXPECT_EQ(r.ratioText, "0.25");
    s.data.samples[50] = 28; // the echo now swings 100 below its start
    s.data.samples[10] = 153;
    r = MeasureReturnLoss(s, 10, 50);
    EXPECT_EQ(r.pulse, 100);
    EXPECT_EQ(r.reflection, 100);
    s.data.samples[11] = 178; // pulse up to 50
    s.data.samples[12] = 178;
    r = MeasureReturnLoss(s, 10, 50);
    EXPECT_EQ(r.ratioText, "2.00");
    EXPECT_EQ(r.dBText, "-6.02");
}

TEST(ReturnLoss, CursorOutsideTheWaveformIsRefusedAndWindowsAreCutAtTheEnd) {
    TraceSlot s = Example();
    for (auto [c1, c2] :
         {std::pair{10.0, 200.6}, {201.0, 10.0}, {1e12, 1e12}, {-1000.0, 5.0}, {5.0, -0.25}}) {
        ReturnLoss r = MeasureReturnLoss(s, c1, c2);
        EXPECT_EQ(r.refusal, 137) << c1 << ", " << c2;
        EXPECT_EQ(MessageText(r.refusal), "Both cursors must be within trace range");
    }
    EXPECT_EQ(MeasureReturnLoss(s, 10, 200.4).refusal, 0) << "rounds to the last sample";
    EXPECT_EQ(MeasureReturnLoss(s, 0, 5).refusal, 0) << "time 0 is the first sample";
    // A window running past the end is cut at the last sample and still measured.
    s.data.samples[198] = 138; // sample 199
    s.data.samples[199] = 168; // sample 200
    ReturnLoss r = MeasureReturnLoss(s, 10, 199);
    EXPECT_EQ(r.reflection, 30);
    EXPECT_EQ(r.ratioText, "0.30");
    r = MeasureReturnLoss(s, 10, 200);
    EXPECT_EQ(r.reflection, 0);
    // No samples at all: any cursor is past the end.
    s.data.header.SampleCount = 0;
    EXPECT_EQ(MeasureReturnLoss(s, 0, 0).refusal, 137);
}

TEST(ReturnLoss, WindowIsThreePulseWidthsInSamplesAndIgnoresDisplayGain) {
    TraceSlot s = Example();
    s.data.header.PulseWidth = 0; // one sample each: nothing to measure
    ReturnLoss r = MeasureReturnLoss(s, 10, 50);
    EXPECT_EQ(r.ratioText, "0.00");
    EXPECT_EQ(r.dBText, "0.00");
    // 0.4 ns per sample, pulse width 1 ns: 7.5 samples round to 8 (even).
    s.NsPerSample = 0.4;
    s.data.header.PulseWidth = 1;
    s.data.samples.fill(128);
    s.data.samples[10 + 8 - 1] = 178; // 8 samples after sample 10: inside
    s.data.samples[10 + 9 - 1] = 255; // 9 after: outside
    s.data.samples[60 + 8 - 1] = 138;
    r = MeasureReturnLoss(s, 4.0, 24.0); // samples 10 and 60
    EXPECT_EQ(r.pulse, 50);
    EXPECT_EQ(r.reflection, 10);
    EXPECT_EQ(r.ratioText, "0.20");
    EXPECT_EQ(r.dBText, "13.98");
    for (int g : {2, 3, -2, 0}) {
        s.data.header.DispGain = static_cast<std::int16_t>(g);
        s.TraceOffset = 9;
        EXPECT_EQ(MeasureReturnLoss(s, 4.0, 24.0).dBText, "13.98") << "gain " << g;
    }
}

TEST(ReturnLoss, TheSetRefusesNothingLoadedAndTheDifferenceWaveform) {
    WaveformSet set;
    EXPECT_EQ(MeasureCurrentReturnLoss(set, 10, 50).refusal, MsgNoTraces);
    set.Slot(2) = Example();
    set.TraceCount = 1;
    set.CurTrace = 2;
    EXPECT_EQ(MeasureCurrentReturnLoss(set, 10, 50).dBText, "12.04");
    set.CurTrace = kDiffSlot;
    ReturnLoss r = MeasureCurrentReturnLoss(set, 10, 50);
    EXPECT_EQ(MessageText(r.refusal), "Cannot calculate return loss on difference trace");
    EXPECT_EQ(TwoDecimals(-0.125), "-0.12");
    EXPECT_EQ(TwoDecimals(3.14159), "3.14");
}

} // namespace
} // namespace r470
