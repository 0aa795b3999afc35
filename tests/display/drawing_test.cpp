#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "waveform/units.h"

namespace r470 {
namespace {

using test::DisplayFixture;
using Drawing = DisplayFixture;

std::vector<CanvasCall> LinesIn(const std::vector<CanvasCall>& calls, Colour c) {
    std::vector<CanvasCall> out;
    for (const auto& call : calls)
        if (call.kind == CanvasCall::Line && call.colour == c)
            out.push_back(call);
    return out;
}

TEST_F(Drawing, TraceColoursBySlot) {
    EXPECT_EQ(TraceColour(1), (Colour{255, 0, 0}));
    EXPECT_EQ(TraceColour(2), (Colour{0, 128, 0}));
    EXPECT_EQ(TraceColour(3), (Colour{0, 0, 255}));
    EXPECT_EQ(TraceColour(4), (Colour{0, 255, 255}));
    EXPECT_EQ(TraceColour(5), kBlack);
    EXPECT_EQ(TraceColour(0), kBlack);
}

TEST_F(Drawing, WholeViewIsOneSegmentPerSampleInTheSlotsColour) {
    View(0, 990);
    LoadFlat(2, 100, 10, 100);
    display.DrawTrace(2, 0);
    auto lines = LinesIn(canvas.calls, TraceColour(2));
    ASSERT_EQ(lines.size(), 98u) << "samples 1..99 cover [0, 990]";
    display.SetMapValues(2);
    int y = display.MapDataToY(2, 1);
    EXPECT_EQ(lines[0].x1, 0);
    EXPECT_EQ(lines[0].y1, y);
    EXPECT_EQ(lines[0].x2, display.MapDataToX(2, 2));
    // The last sample drawn is nearest(990 / 10) = 99, which lies at 980 ns.
    EXPECT_EQ(lines.back().x2, display.MapNsToX(980));
    EXPECT_EQ(lines.back().x2, 641);
    EXPECT_EQ(canvas.PenColour(), kBlack) << "the pen colour is restored";
}

TEST_F(Drawing, EndsOutsideTheBandAreClampedAndJumpsAcrossItLeaveAGap) {
    View(0, 60);
    // Levels: in band, far above (negative offset pushes up), in band, far below, far above.
    TraceSlot& s = Load(1, 6, 10, [](int i) { return std::array{128, 0, 128, 255, 0, 128}[i]; });
    s.data.header.DispGain = 16; // 0 and 255 leave the band, 128 stays in it
    display.DrawTrace(1, 0);
    auto lines = LinesIn(canvas.calls, TraceColour(1));
    const int top = display.state().GraphTop, bottom = display.state().TraceBottom - 1;
    // 1->2 drawn to the top edge; 2->3 from the top edge; 3->4 to the bottom edge;
    // 4->5 jumps from below to above: nothing; 5->6 from the top edge.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].y2, top);
    EXPECT_EQ(lines[1].y1, top);
    EXPECT_EQ(lines[2].y2, bottom);
    EXPECT_EQ(lines[3].y1, top);
    EXPECT_EQ(lines[3].x1, display.MapDataToX(1, 5));
}

TEST_F(Drawing, NarrowStretchAroundATime) {
    View(0, 1000);
    LoadFlat(1, 1000, 1, 128); // 0.648 px per sample
    display.DrawTrace(1, 500);
    auto lines = LinesIn(canvas.calls, TraceColour(1));
    ASSERT_FALSE(lines.empty());
    display.SetMapValues(1);
    int x0 = display.MapDataToX(1, 500);
    EXPECT_LT(lines.front().x1, x0 - 2);
    EXPECT_GE(lines.front().x1, x0 - 4);
    EXPECT_LE(lines.size(), 12u);
    EXPECT_EQ(lines.size() % 2, 0u) << "as many samples to the right as to the left";
    EXPECT_GT(lines.back().x2, x0 + 2);
    // At the very start the stretch is cut at sample 1.
    canvas.calls.clear();
    display.DrawTrace(1, 1);
    EXPECT_EQ(LinesIn(canvas.calls, TraceColour(1)).front().x1, 0);
}

TEST_F(Drawing, SelectedSlotIsDrawnLastAndCursorsFollow) {
    View(0, 1000);
    LoadFlat(1);
    LoadFlat(2);
    LoadFlat(3);
    session.set.Slot(3).Shown = false;
    session.set.CurTrace = 1;
    display.state().Cursor1Ns = 200;
    display.state().Cursor2Ns = 400;
    display.RedrawTraces();
    std::vector<Colour> order;
    for (const auto& c : canvas.Of(CanvasCall::Line))
        if (order.empty() || !(order.back() == c.colour))
            order.push_back(c.colour);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], TraceColour(2));
    EXPECT_EQ(order[1], TraceColour(1));
    EXPECT_EQ(order[2], kBlack) << "then the cursors";
    EXPECT_EQ(LinesIn(canvas.calls, TraceColour(3)).size(), 0u) << "hidden slots are skipped";
    auto rects = canvas.Of(CanvasCall::Rect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ((std::array{rects[0].x1, rects[0].y1, rects[0].x2, rects[0].y2}),
              (std::array{0, 25, 648, 310}));
    EXPECT_EQ(rects[0].colour, kWhite);
}

TEST_F(Drawing, ClearingHappensOnlyOnTheScreen) {
    display.ClearGraph();
    display.ClearRangeArea();
    auto rects = canvas.Of(CanvasCall::Rect);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ((std::array{rects[0].x1, rects[0].y1, rects[0].x2, rects[0].y2}),
              (std::array{0, 25, 648, 349}));
    EXPECT_EQ((std::array{rects[1].y1, rects[1].y2}), (std::array{311, 310 + 6 + 26}));
    canvas.calls.clear();
    session.target = OutputTarget::Bitmap;
    display.ClearGraph();
    display.ClearTraceArea();
    EXPECT_TRUE(canvas.Of(CanvasCall::Rect).empty());
}

TEST_F(Drawing, ScaleLabelsTicksAndBaseLine) {
    View(0, 1000);
    session.settings.XAxisUnits = AxisTime;
    display.ShowRange(kBlack);
    EXPECT_TRUE(canvas.calls.empty()) << "nothing without a waveform";
    LoadFlat(1);
    display.ShowRange(kBlack);
    auto texts = canvas.Of(CanvasCall::Text);
    ASSERT_EQ(texts.size(), 5u);
    const char* expected[] = {"0ns", "250ns", "500ns", "750ns", "1\xB5s"};
    const int xs[] = {0, 162, 324, 486, 648 - 18 - 1};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(texts[static_cast<std::size_t>(k)].text, expected[k]);
        EXPECT_EQ(texts[static_cast<std::size_t>(k)].x1, xs[k]);
        EXPECT_EQ(texts[static_cast<std::size_t>(k)].y1, 316);
    }
    auto lines = canvas.Of(CanvasCall::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ((std::array{lines[1].x1, lines[1].y1, lines[1].x2, lines[1].y2}),
              (std::array{324, 310, 324, 316}));
    EXPECT_EQ((std::array{lines[3].x1, lines[3].y1, lines[3].x2}), (std::array{0, 310, 648}));
    // Erasing in white rewrites the labels in white; ticks and base line keep the pen.
    canvas.calls.clear();
    display.ShowRange(kWhite);
    for (const auto& t : canvas.Of(CanvasCall::Text))
        EXPECT_EQ(t.colour, kWhite);
    for (const auto& l : canvas.Of(CanvasCall::Line))
        EXPECT_EQ(l.colour, kBlack);
    EXPECT_EQ(canvas.FontColour(), kBlack);
}

TEST_F(Drawing, ZoomHalvesTheViewAroundTheActiveCursorAndBack) {
    prompts.answers = {IdOk};
    display.Zoom(prompts);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    View(0, 1000);
    LoadFlat(1);
    DisplayState& s = display.state();
    s.Cursor1Ns = 10;
    s.Cursor2Ns = 600;
    display.Zoom(prompts);
    EXPECT_TRUE(s.Zoomed);
    EXPECT_EQ(s.ViewStartNs, 0);
    EXPECT_EQ(s.ViewEndNs, 260);
    display.Zoom(prompts);
    EXPECT_FALSE(s.Zoomed);
    EXPECT_EQ(s.ViewEndNs, 1000);
    s.ActiveCursor = 2;
    display.Zoom(prompts);
    EXPECT_EQ(s.ViewStartNs, 350);
    EXPECT_EQ(s.ViewEndNs, 850);
    canvas.calls.clear();
    session.settings.XAxisUnits = AxisTime;
    display.ShowRange(kBlack);
    EXPECT_EQ(canvas.Of(CanvasCall::Text)[0].text, "350ns");
    EXPECT_EQ(canvas.Of(CanvasCall::Text)[4].text, "850ns");
}

TEST_F(Drawing, ZoomCentresOnTheActiveCursorKeptWithinTheRange) {
    struct Case {
        const char* rule;
        double cursorNs, wantStart, wantEnd;
    };
    // Range 1000 ns. A cursor left outside it (Rng- or unset) is centred from the range's
    // nearest end, so the window is never reversed or empty.
    const Case cases[] = {
        {"inside: half the range round it", 600, 350, 850},
        {"near 0: cut short at 0", 10, 0, 260},
        {"before 0: from 0", -1, 0, 250},
        {"beyond the range: up to its end", 2500, 750, 1000},
    };
    LoadFlat(1);
    for (const Case& c : cases) {
        View(0, 1000);
        DisplayState& s = display.state();
        s.Cursor1Ns = c.cursorNs;
        s.ActiveCursor = 1;
        canvas.calls.clear();
        display.Zoom(prompts);
        EXPECT_TRUE(s.Zoomed) << c.rule;
        EXPECT_EQ(s.ViewStartNs, c.wantStart) << c.rule;
        EXPECT_EQ(s.ViewEndNs, c.wantEnd) << c.rule;
        EXPECT_FALSE(LinesIn(canvas.calls, TraceColour(1)).empty()) << c.rule << ": drawn";
        display.Zoom(prompts);
    }
}

TEST_F(Drawing, RedrawWithNothingLoadedLaysOutButDrawsNoScale) {
    display.Redraw();
    EXPECT_EQ(host.repaints, 1);
    EXPECT_EQ(host.layouts, 1);
    EXPECT_TRUE(canvas.Of(CanvasCall::Text).empty());
    EXPECT_TRUE(canvas.Of(CanvasCall::Line).empty());
    EXPECT_FALSE(display.state().NoRedraw);
    display.state().NoRedraw = true;
    display.Redraw();
    EXPECT_EQ(host.repaints, 1) << "a redraw inside a redraw is ignored";
}

TEST_F(Drawing, FullRedrawDrawsEverything) {
    View(0, 1000);
    LoadFlat(1);
    display.state().Cursor1Ns = display.state().Cursor2Ns = 500;
    display.Redraw();
    auto texts = canvas.Of(CanvasCall::Text);
    auto has = [&](const std::string& t) {
        return std::any_of(texts.begin(), texts.end(), [&](auto& c) { return c.text == t; });
    };
    EXPECT_TRUE(has("Cursor 1 : "));
    EXPECT_TRUE(has("Cursor 2 : "));
    EXPECT_TRUE(has("Cursor 1 - 2 : "));
    EXPECT_TRUE(has("PVF 0.660"));
    EXPECT_TRUE(has("0m"));
    EXPECT_EQ(host.Text("SFilename"), "/DATA/W1.KEL");
    EXPECT_FALSE(LinesIn(canvas.calls, TraceColour(1)).empty());
}

} // namespace
} // namespace r470
