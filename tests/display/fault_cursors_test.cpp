// "Find fault" and "Next event" on the display: where the cursors go, the wrap-round, the
// zoomed view following, the difference waveform, and the refusal when nothing is found.
#include "display/fault_cursors.h"
#include "support/display_fixture.h"
#include "support/line_family.h"

namespace r470 {
namespace {

struct FaultCursors : test::DisplayFixture {
    // A lossless cable: 0.5 ns samples, reflections at the two-way times given.
    TraceSlot& Cable(int n, std::vector<LineReflection> reflections, unsigned seed = 1) {
        LineModel m;
        m.noise = 0.5;
        m.seed = seed;
        m.reflections = std::move(reflections);
        TraceData d = test::TraceOf(m);
        TraceSlot& s = Load(n, m.samples, m.intervalNs, [&d](int i) { return d.samples[i]; });
        s.data = d;
        display.SeedFromFirstWaveform(n);
        return s;
    }
    double C1() { return display.state().Cursor1Ns; }
    double C2() { return display.state().Cursor2Ns; }
};

TEST_F(FaultCursors, FindFaultPutsCursor2ActiveOnTheLargestAndStepsWrapRound) {
    Cable(1, {{200, -0.3}, {500, 0.6}, {800, 0.2}});
    display.state().ActiveCursor = 1;
    ASSERT_TRUE(FindFault(session.set, display, prompts));
    EXPECT_NEAR(C1(), 0, 0.3);
    EXPECT_NEAR(C2(), 500, 1.5);
    EXPECT_EQ(display.state().ActiveCursor, 2);
    const double launch = C1();
    struct Step {
        int dir;
        double at;
        int beeps; // a step with no event further that way says so
    };
    // Forward past the last comes back to the first; back past the first to the last.
    for (Step s : {Step{+1, 800, 0}, Step{+1, 200, 1}, Step{-1, 800, 1}, Step{-1, 500, 0},
                   Step{-1, 200, 0}}) {
        prompts.beeps = 0;
        ASSERT_TRUE(StepEvent(session.set, display, prompts, s.dir));
        EXPECT_NEAR(C2(), s.at, 1.5) << s.dir << " to " << s.at;
        EXPECT_EQ(C1(), launch); // cursor 1 stays
        EXPECT_EQ(prompts.beeps, s.beeps) << s.dir << " to " << s.at;
    }
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(FaultCursors, NothingAboveTheNoiseIsToldAndNothingMoves) {
    Cable(1, {});
    display.state().Cursor1Ns = 10;
    display.state().Cursor2Ns = 20;
    display.state().ActiveCursor = 1;
    for (auto command : {+0, +1, -1}) {
        prompts.answers = {IdOk};
        if (command == 0)
            EXPECT_FALSE(FindFault(session.set, display, prompts));
        else
            EXPECT_FALSE(StepEvent(session.set, display, prompts, command));
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text, "No reflection stands above the noise");
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        prompts.boxes.clear();
        EXPECT_EQ(C1(), 10);
        EXPECT_EQ(C2(), 20);
        EXPECT_EQ(display.state().ActiveCursor, 1);
    }
}

TEST_F(FaultCursors, TheViewShowsTheFaultAndItsReflectionClearOfBothEdges) {
    Cable(1, {{300, 0.4}, {800, 0.6}});
    DisplayState& s = display.state();
    const double range = s.RangeNs;
    // The reflection's body: the onset and a few pulse widths after it, past its peak.
    auto inView = [&](const char* what) {
        const double width = s.ViewEndNs - s.ViewStartNs;
        const double bodyEnd = ReflectionEndNs(session.set, C2());
        EXPECT_GT(bodyEnd, C2() + 3) << what;
        EXPECT_GE(C2(), s.ViewStartNs + width / 10) << what;
        EXPECT_LE(C2(), s.ViewEndNs - width / 10) << what;
        EXPECT_LE(bodyEnd, s.ViewEndNs) << what;
    };
    struct Case {
        const char* what;
        double rangeNs, start, end;
        bool zoomed;
    };
    // A range just past the fault, one that stops short of it, views zoomed on the launch
    // and just before the fault.
    for (Case c : {Case{"range ends at the fault", 801, 0, 801, false},
                   Case{"range short of the fault", 400, 0, 400, false},
                   Case{"zoomed on the launch", range, 0, range / 4, true},
                   Case{"zoomed up to the fault", range, 600, 802, true}}) {
        View(c.start, c.end);
        s.RangeNs = c.rangeNs;
        s.Zoomed = c.zoomed;
        ASSERT_TRUE(FindFault(session.set, display, prompts)) << c.what;
        EXPECT_NEAR(C2(), 800, 1.5) << c.what;
        EXPECT_EQ(s.Zoomed, c.zoomed) << c.what;
        inView(c.what);
    }
    // Next event in a zoomed view scrolls before the cursor reaches the edge.
    View(0, 310);
    s.RangeNs = range;
    s.Zoomed = true;
    s.Cursor2Ns = 0;
    ASSERT_TRUE(StepEvent(session.set, display, prompts, +1));
    EXPECT_NEAR(C2(), 300, 1.5);
    inView("next event near the edge");
    EXPECT_DOUBLE_EQ(s.ViewEndNs - s.ViewStartNs, 310); // the zoom keeps its width
    // Each way of stepping onto an event that a zoomed view holds only at its left edge.
    struct Walk {
        const char* what;
        double from, viewStart;
        int dir;
        double to;
    };
    for (Walk w : {Walk{"next event", 310, 799, +1, 800}, Walk{"previous event", 790, 299, -1, 300},
                   Walk{"next event wrapping round", 810, 299, +1, 300},
                   Walk{"previous event wrapping round", 290, 799, -1, 800}}) {
        View(w.viewStart, w.viewStart + 310);
        s.RangeNs = range;
        s.Zoomed = true;
        s.Cursor2Ns = w.from;
        ASSERT_TRUE(StepEvent(session.set, display, prompts, w.dir)) << w.what;
        EXPECT_NEAR(C2(), w.to, 1.5) << w.what;
        inView(w.what);
    }
}

TEST_F(FaultCursors, DifferenceCurrentFindsTheFirstChangeAgainstTheLowerSlot) {
    Cable(1, {{700, 0.9}}, 1);
    Cable(3, {{300, -0.2}, {700, 0.9}}, 2);
    session.set.DiffA = 1;
    session.set.DiffB = 3;
    session.set.Slot(kDiffSlot).Loaded = session.set.Slot(kDiffSlot).Shown = true;
    session.set.CurTrace = kDiffSlot;
    ASSERT_TRUE(FindFault(session.set, display, prompts));
    EXPECT_NEAR(C2(), 300, 1.5);
    // Next event walks the second waveform's reflections.
    ASSERT_TRUE(StepEvent(session.set, display, prompts, +1));
    EXPECT_NEAR(C2(), 700, 1.5);
}

TEST_F(FaultCursors, NothingLoadedIsRefusedAsEveryCommandIs) {
    prompts.answers = {IdOk};
    EXPECT_FALSE(FindFault(session.set, display, prompts));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
}

} // namespace
} // namespace r470
