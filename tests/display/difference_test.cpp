// The difference waveform: its grid, its values and how far it is drawn.
#include "support/display_fixture.h"
#include "waveform/interpolate.h"

#include <algorithm>

namespace r470 {
namespace {

struct DifferenceTest : test::DisplayFixture {
    // The band of the fixture's screen: 25 to 310, so a zero difference sits at
    // 25 + 285 / 2 + 1 = 168.
    static constexpr int kMiddleY = 168;

    void Pair(int a, int b) {
        session.set.DiffA = a;
        session.set.DiffB = b;
        session.set.Slot(kDiffSlot).Loaded = session.set.Slot(kDiffSlot).Shown = true;
    }
    std::vector<CanvasCall> DiffLines() {
        canvas.calls.clear();
        display.DrawTrace(kDiffSlot, 0);
        std::vector<CanvasCall> lines;
        for (const CanvasCall& c : canvas.calls)
            if (c.kind == CanvasCall::Line)
                lines.push_back(c);
        return lines;
    }
    static int LastX(const std::vector<CanvasCall>& lines) {
        int x = -1;
        for (const CanvasCall& c : lines)
            x = std::max(x, c.x2);
        return x;
    }
};

TEST_F(DifferenceTest, IdenticalWaveformsGiveAStraightLineInTheMiddleOfTheBand) {
    auto wave = [](int i) { return 60 + (i * 37) % 150; };
    Load(1, 200, 5, wave);
    Load(2, 200, 5, wave);
    View(0, 1000);
    Pair(1, 2);
    std::vector<CanvasCall> lines = DiffLines();
    ASSERT_GT(lines.size(), 100u);
    for (const CanvasCall& c : lines) {
        EXPECT_EQ(c.y1, kMiddleY);
        EXPECT_EQ(c.y2, kMiddleY);
        EXPECT_EQ(c.colour, kBlack);
    }
}

TEST_F(DifferenceTest, LowerSlotMinusHigherSlotWhicheverHasTheFinerGrid) {
    struct Case {
        double ns1, ns3;
        int ref; // the slot whose grid carries the difference
    } cases[] = {{5, 10, 1}, {10, 5, 3}, {5, 5, 3}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.ns1 << " / " << k.ns3);
        session.set = WaveformSet{};
        Load(1, 200, k.ns1, [](int) { return 150; });
        Load(3, 200, k.ns3, [](int) { return 100; });
        View(0, 900);
        for (auto [a, b] : {std::pair{1, 3}, std::pair{3, 1}}) {
            Pair(a, b);
            display.SetMapValues(1);
            ASSERT_TRUE(display.SetDiffGrid());
            EXPECT_EQ(display.state().DiffRef, k.ns1 == k.ns3 ? b : k.ref);
            // (150 - 100) levels of 285 / 256 pixels, above the middle of 285 / 2 = 142.
            EXPECT_NEAR(display.DiffValue(20), 50 * 285.0 / 256 + 142, 1e-9);
            EXPECT_EQ(display.MapDiffToY(20), 25 + 198 + 1);
        }
    }
}

TEST_F(DifferenceTest, InterpolationBetweenNeighboursRoundsHalvesToEven) {
    TraceSlot other;
    other.NsPerSample = 2;
    other.data.header.SampleCount = 4;
    other.data.samples[0] = 10; // sample i at i x 2 ns
    other.data.samples[1] = 11;
    other.data.samples[2] = 13;
    other.data.samples[3] = 20;
    struct Case {
        double t;
        int value;
    } cases[] = {
        {0.5, 9},  // before sample 1's time: i is raised to 1, the line of samples 1 and 2
        {2, 10},   // exactly on sample 1
        {3, 10},   // 10.5: half goes to even
        {5, 12},   // 12 exactly between 11 and 13
        {4.5, 12}, // 11.5: half goes to even
        {7, 16},   // 16.5 -> 16
        {7.2, 17}, // 16.85
        {8, 20},   // the last sample, no neighbour after it
        {9, 20},   // past the end the last value holds
        {400, 20}, // far past the end: never read beyond the samples
    };
    for (const Case& c : cases)
        EXPECT_EQ(InterpolatedSample(other, c.t), c.value) << "t = " << c.t;
    other.NsPerSample = 0; // a waveform without an interval: its first sample
    EXPECT_EQ(InterpolatedSample(other, 5), 10);
}

TEST_F(DifferenceTest, TakesTheOtherWaveformInterpolatedOntoTheFinerGrid) {
    // Slot 2 a ramp on a 2 ns grid, slot 1 flat on a 1 ns grid: the difference follows
    // slot 1 minus the interpolated ramp.
    Load(1, 400, 1, [](int) { return 100; });
    Load(2, 200, 2, [](int i) { return 40 + i; }); // sample i + 1 holds 40 + i
    View(0, 400);
    Pair(1, 2);
    display.SetMapValues(1);
    ASSERT_TRUE(display.SetDiffGrid());
    ASSERT_EQ(display.state().DiffRef, 1);
    const double ppl = 285.0 / 256;
    for (int n : {2, 7, 51, 120}) {
        int interpolated = InterpolatedSample(session.set.Slot(2), n * 1.0);
        EXPECT_NEAR(display.DiffValue(n), (100 - interpolated) * ppl + 142, 1e-9) << n;
    }
    // 51 ns lies between samples 25 (64) and 26 (65) of the 2 ns grid: 64.5 goes to 64.
    EXPECT_EQ(InterpolatedSample(session.set.Slot(2), 51), 64);
}

TEST_F(DifferenceTest, FollowsDisplayGainsButNeverTheOffsetsAndIsLimited) {
    Load(1, 100, 5, [](int) { return 200; });
    Load(2, 100, 5, [](int) { return 100; });
    View(0, 500);
    Pair(1, 2);
    display.SetMapValues(1);
    ASSERT_TRUE(display.SetDiffGrid());
    const double ppl = 285.0 / 256;
    double plain = display.DiffValue(10);
    EXPECT_NEAR(plain, 100 * ppl + 142, 1e-9);
    for (int n : {1, 2, kDiffSlot})
        session.set.Slot(n).TraceOffset = 37;
    EXPECT_EQ(display.DiffValue(10), plain) << "up and down do not move the difference";
    // Gain 2 on slot 1 stretches its level about mid-scale 128: 128 + 2 x 72 = 272.
    session.set.Slot(1).data.header.DispGain = 2;
    EXPECT_NEAR(display.DiffValue(10), (272 - 100) * ppl + 142, 1e-9);
    // A one-level scale makes the difference huge: it is limited either way.
    session.set.Slot(1).data.header.MaxSample = 0;
    session.set.Slot(2).data.header.MaxSample = 0;
    session.set.Slot(1).data.header.DispGain = 1;
    EXPECT_NEAR(display.DiffValue(10), 100 * 285 + 142, 1e-9) << "not yet at the limit";
    session.set.Slot(1).data.samples.fill(255);
    session.set.Slot(2).data.samples.fill(0);
    EXPECT_EQ(display.DiffValue(10), 32000);
    Pair(2, 1);
    display.SetDiffGrid();
    EXPECT_EQ(display.DiffValue(10), 32000) << "still the lower slot minus the higher";
    std::swap(session.set.Slot(1).data.samples, session.set.Slot(2).data.samples);
    EXPECT_EQ(display.DiffValue(10), -32000);
    EXPECT_EQ(display.MapDiffToY(10), 25 - 32000 + 1);
}

TEST_F(DifferenceTest, DrawnOnlyWhereBothWaveformsHaveSamplesAlsoZoomed) {
    Load(1, 1000, 1, [](int i) { return 100 + i % 50; });
    Load(2, 2000, 1, [](int i) { return 90 + i % 70; });
    Pair(1, 2);
    struct Case {
        double start, end;
        int lastSample; // 0: nothing drawn
    } cases[] = {{0, 2000, 1000}, {0, 900, 900}, {800, 1200, 1000}, {1200, 1600, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << ".." << c.end);
        View(c.start, c.end);
        std::vector<CanvasCall> lines = DiffLines();
        if (c.lastSample == 0) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        display.SetMapValues(2);
        EXPECT_EQ(LastX(lines), display.MapDataToX(2, c.lastSample));
        EXPECT_EQ(display.DiffLastSample(), c.lastSample);
    }
    // The same stop when the stretch under a cursor is put back.
    View(0, 2000);
    canvas.calls.clear();
    display.DrawTrace(kDiffSlot, 999);
    int last = -1;
    for (const CanvasCall& c : canvas.calls)
        if (c.kind == CanvasCall::Line)
            last = std::max(last, c.x2);
    EXPECT_EQ(last, display.MapDataToX(2, 1000));
}

TEST_F(DifferenceTest, NothingWithoutAPairAndTheOtherScaleIsLeftAfterDrawing) {
    Load(1, 100, 5, [](int) { return 100; });
    Load(
        2, 100, 5, [](int) { return 100; }, 127); // a 7-bit waveform
    View(0, 500);
    Pair(1, 0);
    EXPECT_TRUE(DiffLines().empty());
    Pair(1, 2);
    EXPECT_FALSE(DiffLines().empty());
    // Slot 2 is the reference on equal grids; the level scale last used is slot 1's.
    EXPECT_EQ(display.state().DiffRef, 2);
    EXPECT_DOUBLE_EQ(display.state().PixelsPerLevel, 285.0 / 256);
}

} // namespace
} // namespace r470
