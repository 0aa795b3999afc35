#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "waveform/units.h"

#include <functional>

namespace r470 {
namespace {

using test::DisplayFixture;

struct Cursors : DisplayFixture {
    void SetUp() override {
        DisplayFixture::SetUp();
        View(0, 1000);
        LoadFlat(1);
        session.settings.XAxisUnits = AxisTime;
        display.state().Cursor1Ns = 500;
        display.state().Cursor2Ns = 300;
    }
    // The last text written at x, with its colour.
    const CanvasCall* LastTextAt(int x) const {
        const CanvasCall* found = nullptr;
        for (const auto& c : canvas.calls)
            if (c.kind == CanvasCall::Text && c.x1 == x)
                found = &c;
        return found;
    }
    std::vector<CanvasCall> CursorLines() const {
        std::vector<CanvasCall> out;
        for (const auto& c : canvas.calls)
            if (c.kind == CanvasCall::Line && c.x1 == c.x2 && c.y1 == 25 && c.y2 == 310)
                out.push_back(c);
        return out;
    }
};

TEST_F(Cursors, ActiveIsSolidPassiveIsDashedAndEraseRedrawsTheStretch) {
    display.DrawCursors(true);
    auto lines = CursorLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x1, display.MapNsToX(300));
    EXPECT_EQ(lines[0].style, PenStyle::Dash);
    EXPECT_EQ(lines[1].x1, 324);
    EXPECT_EQ(lines[1].style, PenStyle::Solid);
    EXPECT_EQ(lines[1].colour, kBlack);
    EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid) << "pen style restored";
    canvas.calls.clear();
    display.DrawCursor(1, 0);
    ASSERT_EQ(CursorLines().size(), 1u);
    EXPECT_EQ(CursorLines()[0].colour, kWhite);
    bool redrawn = false;
    for (const auto& c : canvas.calls)
        redrawn |= c.kind == CanvasCall::Line && c.colour == TraceColour(1) && c.x1 <= 324 &&
                   c.x2 >= 324 && c.x2 - c.x1 < 20;
    EXPECT_TRUE(redrawn) << "the waveform under the erased line is put back";
    // A cursor outside the view, or not placed, is not drawn.
    canvas.calls.clear();
    display.state().Cursor2Ns = -1;
    display.DrawCursor(2, 3);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(Cursors, ReadoutLineValuesAndSignedDifference) {
    display.state().ActiveCursor = 2;
    display.DrawCursors(true);
    const DisplayState& s = display.state();
    ASSERT_TRUE(LastTextAt(s.Cursor1ValueX));
    EXPECT_EQ(LastTextAt(s.Cursor1ValueX)->text, "500ns");
    EXPECT_EQ(LastTextAt(s.Cursor2ValueX)->text, "300ns");
    EXPECT_EQ(LastTextAt(s.DeltaValueX)->text, "-200ns");
    EXPECT_EQ(LastTextAt(s.DeltaValueX)->y1, 310 + 6 + 13);
    display.state().Cursor2Ns = 500;
    display.ShowCurToCur(kBlack);
    EXPECT_EQ(LastTextAt(s.DeltaValueX)->text, "0ns");
    session.settings.XAxisUnits = AxisMetres;
    display.ShowCurToCur(kBlack);
    EXPECT_EQ(LastTextAt(s.DeltaValueX)->text, "0m");
    session.settings.XAxisUnits = AxisFeet;
    display.ShowCurToCur(kBlack);
    EXPECT_EQ(LastTextAt(s.DeltaValueX)->text, "0ft");
}

TEST_F(Cursors, MovingIsClampedToTheViewAndMakesTheCursorActive) {
    display.state().ActiveCursor = 2;
    display.MoveCursor(1, -800, prompts);
    EXPECT_EQ(display.state().Cursor1Ns, 0);
    EXPECT_EQ(display.state().ActiveCursor, 1);
    display.MoveCursor(2, 5000, prompts);
    EXPECT_EQ(display.state().Cursor2Ns, 1000);
    View(200, 400);
    display.state().Zoomed = true;
    display.state().Cursor1Ns = 250;
    display.MoveCursor(1, -100, prompts);
    EXPECT_EQ(display.state().Cursor1Ns, 200) << "stops at the zoom window's edge";
    EXPECT_TRUE(prompts.boxes.empty());
    session.set.TraceCount = 0;
    prompts.answers = {IdOk};
    display.MoveCursor(1, 10, prompts);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
}

TEST_F(Cursors, HeldStepsGrowByTheBaseStepUpToTheCeiling) {
    View(0, 600); // StepBase 1, StepMax 20
    display.state().RangeNs = 600;
    display.state().Cursor1Ns = 100;
    display.StepPress();
    std::vector<double> positions;
    for (int i = 0; i < 22; ++i) {
        display.StepCursor(1, +1, prompts);
        positions.push_back(display.state().Cursor1Ns);
    }
    EXPECT_EQ(positions[0], 101);
    EXPECT_EQ(positions[1], 103);
    EXPECT_EQ(positions[2], 106);
    EXPECT_EQ(positions[20] - positions[19], 20);
    EXPECT_EQ(positions[21] - positions[20], 20) << "the step stops growing at the ceiling";
    display.StepRelease();
    EXPECT_EQ(display.state().RepeatStep, 20) << "kept until the next press";
    display.StepPress();
    EXPECT_EQ(display.state().RepeatStep, 1);
}

TEST_F(Cursors, SwitchAlternatesOnlyWithWaveformsLoaded) {
    display.SwitchActiveCursor();
    EXPECT_EQ(display.state().ActiveCursor, 2);
    display.SwitchActiveCursor();
    EXPECT_EQ(display.state().ActiveCursor, 1);
    session.set.TraceCount = 0;
    display.SwitchActiveCursor();
    EXPECT_EQ(display.state().ActiveCursor, 1);
}

TEST_F(Cursors, MouseGrabsWithinTenPixelsInsideTheBand) {
    const int x1 = display.MapNsToX(500); // 324
    display.state().ActiveCursor = 2;
    display.MouseDown(x1 + 10, 100);
    EXPECT_EQ(display.state().DragCursor, 1);
    EXPECT_EQ(display.state().ActiveCursor, 1);
    display.MouseUp();
    EXPECT_EQ(display.state().DragCursor, 0);
    display.MouseDown(x1 - 11, 100);
    EXPECT_EQ(display.state().DragCursor, 0);
    display.MouseDown(x1, 311);
    EXPECT_EQ(display.state().DragCursor, 0) << "below the trace band";
    display.MouseDown(x1, 310);
    EXPECT_EQ(display.state().DragCursor, 1);
    // Both in reach: cursor 1 wins.
    display.state().Cursor2Ns = 510;
    display.MouseDown(x1 + 3, 100);
    EXPECT_EQ(display.state().DragCursor, 1);
    display.state().Cursor2Ns = 300;
    display.MouseDown(display.MapNsToX(300), 30);
    EXPECT_EQ(display.state().DragCursor, 2);
    EXPECT_EQ(display.state().ActiveCursor, 2);
    display.SetMapValues(1);
    display.MouseMove(100);
    EXPECT_DOUBLE_EQ(display.state().Cursor2Ns, display.MapXToNs(100));
    EXPECT_EQ(LastTextAt(display.state().Cursor2ValueX)->text,
              FormatAxisValue(660, AxisTime, display.MapXToNs(100)));
    display.MouseUp();
    display.MouseMove(400);
    EXPECT_DOUBLE_EQ(display.state().Cursor2Ns, display.MapXToNs(100)) << "released";
}

// How a cursor's column looks after the recorded drawing: a dashed pen paints only its
// dashes, so the column reads dashed only when the last solid line on it was white.
enum class Look { Blank, Solid, Dashed };
Look ColumnLook(const RecordingCanvas& canvas, int x) {
    Look look = Look::Blank;
    for (const CanvasCall& c : canvas.Of(CanvasCall::Line)) {
        if (c.x1 != x || c.x2 != x || c.y1 == c.y2)
            continue;
        if (c.style == PenStyle::Solid)
            look = c.colour == kWhite ? Look::Blank : Look::Solid;
        else if (c.colour != kWhite && look == Look::Blank)
            look = Look::Dashed;
    }
    return look;
}

bool ColumnLooksDashed(const RecordingCanvas& canvas, int x) {
    return ColumnLook(canvas, x) == Look::Dashed;
}

// Every change of a cursor's role or position leaves the active cursor solid and the
// passive one dashed, whatever was drawn on their columns before.
TEST_F(Cursors, OneCursorSolidTheOtherDashedAfterEveryChange) {
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Space", [&] { display.SwitchActiveCursor(); }},
        {"Space, then the arrow steps the new active cursor",
         [&] {
             display.SwitchActiveCursor();
             display.StepPress();
             display.StepCursor(display.state().ActiveCursor, +1, prompts);
         }},
        {"the other cursor's button held",
         [&] {
             display.StepPress();
             for (int i = 0; i < 4; ++i)
                 display.StepCursor(2, -1, prompts);
         }},
        {"the active cursor's button held",
         [&] {
             display.StepPress();
             for (int i = 0; i < 4; ++i)
                 display.StepCursor(1, +1, prompts);
         }},
        {"a click on the other cursor's button", [&] { display.MoveCursor(2, 50, prompts); }},
        {"a mouse-down on the passive cursor",
         [&] { display.MouseDown(display.MapNsToX(300), 100); }},
        {"a drag of the passive cursor",
         [&] {
             display.MouseDown(display.MapNsToX(300), 100);
             display.MouseMove(display.MapNsToX(700));
             display.MouseUp();
         }},
        {"a full redraw, as after a load", [&] { display.RedrawTraces(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        canvas.calls.clear();
        DisplayState& s = display.state();
        s.Cursor1Ns = 500;
        s.Cursor2Ns = 300;
        s.ActiveCursor = 1;
        display.SetMapValues(1);
        display.RedrawTraces(); // cursor 1 solid, cursor 2 dashed
        c.act();
        const int active = s.ActiveCursor, passive = 3 - active;
        const int xa = display.MapNsToX(active == 1 ? s.Cursor1Ns : s.Cursor2Ns);
        const int xp = display.MapNsToX(passive == 1 ? s.Cursor1Ns : s.Cursor2Ns);
        ASSERT_NE(xa, xp);
        EXPECT_EQ(ColumnLook(canvas, xa), Look::Solid);
        EXPECT_EQ(ColumnLook(canvas, xp), Look::Dashed);
    }
}

TEST_F(Cursors, TheInactiveCursorIsDashedAtOnceAfterADrag) {
    display.state().Cursor2Ns = 300;
    const int x1 = display.MapNsToX(500);
    display.MouseDown(display.MapNsToX(300), 100); // drag cursor 2 ...
    display.MouseMove(200);
    display.MouseUp();
    const int x2 = display.MapNsToX(display.state().Cursor2Ns);
    EXPECT_TRUE(ColumnLooksDashed(canvas, x1)) << "cursor 1 while 2 is dragged";
    display.MouseDown(x1, 100); // ... then cursor 1
    display.MouseMove(x1 + 30);
    display.MouseUp();
    EXPECT_EQ(display.state().ActiveCursor, 1);
    EXPECT_TRUE(ColumnLooksDashed(canvas, x2)) << "cursor 2 once cursor 1 is taken";
    EXPECT_FALSE(ColumnLooksDashed(canvas, x1 + 30));
}

TEST_F(Cursors, DielectricReadoutByUnits) {
    const int x = display.state().DielTextX;
    display.ShowDiel(kBlack);
    EXPECT_EQ(LastTextAt(x), nullptr) << "absent on the time axis";
    struct Case {
        int axis, diel;
        const char* text;
    };
    for (Case c :
         {Case{AxisMetres, DielPvf, "PVF 0.660"}, Case{AxisMetres, DielV, "V 198 m/\xB5s"},
          Case{AxisMetres, DielVHalf, "V/2 99 m/\xB5s"}, Case{AxisFeet, DielV, "V 649 ft/\xB5s"},
          Case{AxisFeet, DielVHalf, "V/2 325 ft/\xB5s"}, Case{AxisFeet, DielPvf, "PVF 0.660"}}) {
        session.settings.XAxisUnits = static_cast<std::int16_t>(c.axis);
        session.settings.DielUnits = static_cast<std::int16_t>(c.diel);
        display.ShowDiel(kBlack);
        ASSERT_TRUE(LastTextAt(x));
        EXPECT_EQ(LastTextAt(x)->text, c.text);
    }
    session.settings.XAxisUnits = AxisTime;
    display.ShowDiel(kWhite);
    EXPECT_EQ(LastTextAt(x)->colour, kWhite) << "erasing works on the time axis too";
}

TEST_F(Cursors, DetailsOfAFileWaveform) {
    TraceSlot& s = session.set.Slot(1);
    s.data.header.MemNo = 12;
    s.data.header.Gain = 40;
    s.data.header.DispGain = -2;
    s.data.header.ModeText = "   Normal       ";
    s.data.header.PulseWidth = 10;
    s.data.header.Machine1 = "  T470";
    s.data.header.Machine2 = "V2    ";
    s.data.header.Filter = 'B';
    s.data.header.Impedance = 75;
    s.data.notes.Date = "08/12/2026";
    s.data.notes.Comments[4] = "fifth";
    display.TraceText(1, true);
    EXPECT_EQ(host.Text("LFilename"), "Filename");
    EXPECT_EQ(host.Text("SFilename"), "/DATA/W1.KEL");
    EXPECT_EQ(host.labels["SFilename"].colour, TraceColour(1));
    EXPECT_EQ(host.Text("LMemFN2"), "Mem no");
    EXPECT_EQ(host.Text("SMemFN2"), "12");
    EXPECT_EQ(host.Text("SGain"), "40-6dB");
    EXPECT_EQ(host.Text("SMode"), "Normal       ");
    EXPECT_EQ(host.Text("SRange"), "1\xB5s");
    EXPECT_EQ(host.Text("SPulse"), "10ns");
    EXPECT_EQ(host.Text("SMachine"), "T470 V2    ");
    EXPECT_EQ(host.Text("LFilter"), "Filter");
    EXPECT_EQ(host.Text("SFilter"), "B");
    EXPECT_EQ(host.Text("SImpedance"), "75");
    EXPECT_EQ(host.Text("SDate"), "08/12/2026");
    EXPECT_EQ(host.Text("SComments5"), "fifth");
    EXPECT_EQ(host.Text("LCable"), "Cable ID");
    EXPECT_TRUE(host.labels["LDate"].visible);
    s.data.header.DispGain = 4;
    display.ShowGain();
    EXPECT_EQ(host.Text("SGain"), "40+12dB");
    // No filter and no impedance: those labels stay empty after a clearing redraw.
    s.data.header.Filter = 0;
    s.data.header.Impedance = 0;
    display.TraceText(1, true);
    EXPECT_EQ(host.Text("LFilter"), "");
    EXPECT_EQ(host.Text("SFilter"), "");
    EXPECT_EQ(host.Text("LImpedance"), "");
    s.data.header.Filter = ' ';
    display.TraceText(1, true);
    EXPECT_EQ(host.Text("SFilter"), " ");
}

TEST_F(Cursors, DetailsOfTheDifferenceWaveform) {
    LoadFlat(3);
    session.set.Slot(1).data.header.Gain = 4;
    session.set.Slot(3).data.header.Gain = 5;
    session.set.Slot(3).data.header.DispGain = 2;
    session.set.DiffA = 1;
    session.set.DiffB = 3;
    session.set.CurTrace = 5;
    display.TraceText(1, true);
    display.TraceText(5, true);
    EXPECT_EQ(host.Text("LFilename"), "File 1");
    EXPECT_EQ(host.Text("SFilename"), "/DATA/W1.KEL");
    EXPECT_EQ(host.labels["SFilename"].colour, TraceColour(1));
    EXPECT_EQ(host.Text("LMemFN2"), "File 2");
    EXPECT_EQ(host.Text("SMemFN2"), "/DATA/W3.KEL");
    EXPECT_EQ(host.labels["SMemFN2"].colour, TraceColour(3));
    EXPECT_EQ(host.Text("SMode"), "Difference");
    EXPECT_EQ(host.Text("SGain"), "1. 4+0dB   2. 5+6dB");
    EXPECT_EQ(host.Text("SRange"), "") << "not set for the difference";
    EXPECT_EQ(host.Text("SDate"), "");
    EXPECT_FALSE(host.labels["LDate"].visible);
    EXPECT_FALSE(host.labels["STime"].visible);
    display.TraceText(1, true);
    EXPECT_TRUE(host.labels["STime"].visible);
}

} // namespace
} // namespace r470
