#include "support/display_fixture.h"
#include "waveform/units.h"

namespace r470 {
namespace {

using test::DisplayFixture;
using Mapping = DisplayFixture;

TEST_F(Mapping, TheReadoutLineStaysAboveTheDetailsPanelAtEverySize) {
    const DisplayState& s = display.state();
    for (int height : {200, 489, 600, 768, 865, 1005, 1200, 2000, 4000}) {
        display.SetSurface({1280, height, 140, 25, 1280, 0});
        display.SetDrawParam();
        // The readout line's text ends where the details panel starts, or above it.
        EXPECT_LE(s.TraceBottom + s.ScaleGap + 2 * s.LineHeight, s.GraphBottom) << height;
        EXPECT_EQ(s.GraphBottom, height - 140) << height;
    }
    display.SetSurface({648, 489, 140, 25, 648, 0});
    display.SetDrawParam();
    EXPECT_EQ(s.ScaleGap, 6) << "the design size keeps its gap";
}

TEST_F(Mapping, ScreenLayoutFollowsTheToolbarAndTheFilesPanel) {
    const DisplayState& s = display.state();
    EXPECT_EQ(s.GraphLeft, 0);
    EXPECT_EQ(s.GraphTop, 25);
    EXPECT_EQ(s.GraphRight, 648);
    EXPECT_EQ(s.GraphBottom, 349);
    EXPECT_EQ(s.LineHeight, 13);
    EXPECT_EQ(s.TraceBottom, 349 - 39);
    EXPECT_EQ(s.ScaleGap, 6);
    EXPECT_EQ(s.ValueWidth, 60);
    EXPECT_EQ(s.Cursor1ValueX, 11 * 6);
    EXPECT_EQ(s.Cursor2ValueX, 66 + 60 + 66);
    EXPECT_EQ(s.DeltaValueX, 192 + 60 + 15 * 6);
    EXPECT_EQ(s.InfoCol2, 14 * 6);
    EXPECT_EQ(s.InfoCol3, 84 + 13 * 6);
    EXPECT_EQ(s.InfoCol4, 162 + 11 * 6);
    EXPECT_EQ(s.DielTextX, 648 - 15 * 6);
    session.settings.ToolBarKind = 2;
    display.SetDrawParam();
    EXPECT_EQ(s.GraphTop, 0);
    EXPECT_TRUE(canvas.calls.empty()) << "the screen layout draws nothing";
}

// On a high-density screen the graph is laid out in device pixels: the window's geometry
// scaled. The picture and the page keep their own sizes, and the mouse's reach is the same
// on the window.
TEST_F(Mapping, ScreenLayoutInDevicePixels) {
    struct Case {
        double ratio;
        int top, right, bottom, reach;
    };
    const Case cases[] = {
        {1, 25, 648, 349, 10},
        {2, 50, 1296, 698, 20},
        {1.5, 38, 972, 524, 15}, // 37.5 and 523.5 to the even neighbour
    };
    const DisplayState& s = display.state();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        session.target = OutputTarget::Screen;
        display.SetSurface({648, 489, 140, 25, 648, 4800, c.ratio});
        display.SetDrawParam();
        EXPECT_EQ(s.GraphTop, c.top);
        EXPECT_EQ(s.GraphRight, c.right);
        EXPECT_EQ(s.GraphBottom, c.bottom);
        // A flat waveform spans the whole width: its cursor grabbed just within reach.
        LoadFlat(1);
        View(0, 1000);
        display.state().Cursor1Ns = display.state().Cursor2Ns = 500;
        display.SetMapValues(1);
        const int x = display.MapNsToX(500), y = s.TraceBottom - 1;
        display.MouseDown(x + c.reach, y);
        EXPECT_EQ(s.DragCursor, 1);
        display.MouseDown(x + c.reach + 1, y);
        EXPECT_EQ(s.DragCursor, 0);
        session.set = WaveformSet{};
        session.target = OutputTarget::Bitmap;
        display.SetDrawParam();
        EXPECT_EQ(s.GraphRight, 605) << "the picture is as at ratio 1";
        session.target = OutputTarget::Printer;
        display.SetDrawParam();
        EXPECT_EQ(s.GraphRight, 4480);
    }
}

TEST_F(Mapping, PictureLayoutOfA648PixelWindowWithItsFrame) {
    session.target = OutputTarget::Bitmap;
    display.SetDrawParam();
    const DisplayState& s = display.state();
    EXPECT_EQ(s.GraphLeft, 43);
    EXPECT_EQ(s.GraphRight, 605);
    EXPECT_EQ(s.GraphTop, 43);
    EXPECT_EQ(s.GraphBottom, 302);
    auto font = canvas.Of(CanvasCall::Font);
    ASSERT_EQ(font.size(), 1u);
    EXPECT_EQ(font[0].text, "Arial");
    auto lines = canvas.Of(CanvasCall::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ((std::array{lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}),
              (std::array{42, 42, 606, 42}));
    EXPECT_EQ((std::array{lines[2].x2, lines[2].y2, lines[3].x2, lines[3].y2}),
              (std::array{42, 303, 42, 42}));
    session.target = OutputTarget::Printer;
    display.SetSurface({648, 489, 140, 25, 648, 4800});
    display.SetDrawParam();
    EXPECT_EQ(s.GraphLeft, 320);
    EXPECT_EQ(s.GraphRight, 4480);
    EXPECT_EQ(s.GraphBottom, 2240);
}

TEST_F(Mapping, TimeToPixelAndBack) {
    View(0, 1000);
    EXPECT_EQ(display.MapNsToX(0), 0);
    EXPECT_EQ(display.MapNsToX(500), 324);
    EXPECT_EQ(display.MapNsToX(-5), 0);
    EXPECT_EQ(display.MapNsToX(1001), 648);
    LoadFlat(1);
    display.SetMapValues(1);
    EXPECT_DOUBLE_EQ(display.state().PixelsPerNs, 0.648);
    EXPECT_EQ(display.MapXToNs(-50), 0);
    EXPECT_EQ(display.MapXToNs(5000), 1000);
    EXPECT_NEAR(display.MapXToNs(324), 325 / 0.648 - 1, 1e-9);
}

TEST_F(Mapping, SamplesToPixels) {
    View(0, 1000);
    LoadFlat(1, 100, 10);
    display.SetMapValues(1);
    // Sample i lies at (i - 1) intervals; MapNsToData is nearest(t / interval).
    EXPECT_EQ(display.MapDataToX(1, 1), 0);
    EXPECT_EQ(display.MapDataToX(1, 11), 65);
    EXPECT_EQ(display.MapNsToData(1, 100), 10);
    EXPECT_EQ(display.MapDataToX(1, display.MapNsToData(1, 100)), display.MapNsToX(90));
    EXPECT_EQ(display.MapNsToData(1, 0), 1);
    EXPECT_EQ(display.MapNsToData(1, -30), 1);
    EXPECT_EQ(display.MapNsToData(1, 5000), 100);
    View(200, 400);
    display.SetMapValues(1);
    EXPECT_EQ(display.MapDataToX(1, 21), 0) << "at the view's start";
    EXPECT_EQ(display.MapDataToX(1, 42), 648) << "beyond the view's end";
}

TEST_F(Mapping, LevelsGainAndOffset) {
    View(0, 1000);
    TraceSlot& s = Load(1, 4, 10, [](int i) { return std::array{0, 128, 255, 64}[i]; });
    display.SetMapValues(1);
    const DisplayState& st = display.state();
    EXPECT_DOUBLE_EQ(st.PixelsPerLevel, (310.0 - 25) / 256);
    EXPECT_EQ(display.MapDataToY(1, 1), 26) << "level 0 lands just below the top";
    EXPECT_EQ(display.MapDataToY(1, 2), 25 + Nearest(128 * st.PixelsPerLevel) + 1);
    s.data.header.DispGain = 2;
    EXPECT_DOUBLE_EQ(display.SampleLevel(1, 255), 128 + 2 * 127);
    EXPECT_DOUBLE_EQ(display.SampleLevel(1, 64), 0);
    s.data.header.DispGain = -2;
    EXPECT_DOUBLE_EQ(display.SampleLevel(1, 0), 64);
    s.data.header.DispGain = 1;
    s.TraceOffset = -1;
    EXPECT_EQ(display.MapDataToY(1, 2), 25 + Nearest(127 * st.PixelsPerLevel) + 1);
    s.TraceOffset = 1000000;
    EXPECT_EQ(display.MapDataToY(1, 2), 25 + 32000 + 1) << "clamped before rounding";
}

TEST_F(Mapping, RangeChoiceAndSteps) {
    DisplayState& s = display.state();
    session.settings.XAxisUnits = AxisTime;
    s.RangeNs = 2048 * 100;
    display.SetRange(true);
    EXPECT_EQ(s.RangeValue, 204800);
    EXPECT_EQ(s.RangeNs, 204800);
    EXPECT_EQ(s.ViewEndNs, 204800);
    session.settings.XAxisUnits = AxisFeet;
    s.RangeNs = 2048 * 100;
    display.SetRange(true);
    EXPECT_EQ(s.RangeValue, 131072);
    EXPECT_NEAR(s.RangeNs, 131072 / 3.28 / (0.66 * 0.1499), 1e-6);
    session.settings.XAxisUnits = AxisMetres;
    s.RangeNs = 1;
    s.Zoomed = true;
    display.SetRange(true);
    EXPECT_EQ(s.RangeValue, 4);
    EXPECT_FALSE(s.Zoomed);
    s.RangeNs = 50;
    display.SetCurIncrVal();
    EXPECT_DOUBLE_EQ(s.StepBase, 0.1);
    s.RangeNs = 20;
    display.SetCurIncrVal();
    EXPECT_DOUBLE_EQ(s.StepBase, 0.1);
    s.RangeNs = 1000;
    display.SetCurIncrVal();
    EXPECT_DOUBLE_EQ(s.StepBase, 1.7);
    EXPECT_DOUBLE_EQ(s.StepMax, 34);
    // keepSpan false shrinks the span by a fifth before choosing: 1000 ns at time units.
    session.settings.XAxisUnits = AxisTime;
    s.RangeNs = 1000;
    display.SetRange(false);
    EXPECT_EQ(s.RangeValue, 800);
}

TEST_F(Mapping, FirstWaveformSeedsTheDisplay) {
    TraceSlot& s = Load(1, 2048, 0.5, [](int) { return 128; });
    s.data.header.Cursor = 1201;
    s.data.header.Diel = 700;
    display.SeedFromFirstWaveform(1);
    const DisplayState& st = display.state();
    EXPECT_EQ(session.DisplayDiel, 700);
    EXPECT_EQ(st.Cursor1Ns, 600);
    EXPECT_EQ(st.Cursor2Ns, 600);
    EXPECT_EQ(st.ActiveCursor, 1);
    EXPECT_EQ(st.RangeValue, 128) << "1024 ns at PVF 0.700 is 107.4 m";
    EXPECT_DOUBLE_EQ(st.RepeatStep, st.StepBase);
    s.data.header.Cursor = 3;
    s.NsPerSample = 2.5;
    display.SeedFromFirstWaveform(1);
    EXPECT_EQ(st.Cursor1Ns, 8) << "7.5 rounds to even";
}

TEST_F(Mapping, ZeroDielectricOrIntervalNeverDividesByZero) {
    TraceSlot& s = Load(1, 100, 0, [](int i) { return i; });
    s.data.header.Diel = 0;
    display.SeedFromFirstWaveform(1);
    const DisplayState& st = display.state();
    EXPECT_EQ(session.DisplayDiel, 300) << "the dielectric is kept within 300..999";
    EXPECT_GT(st.RangeNs, 0);
    EXPECT_EQ(display.MapNsToData(1, 50), 1);
    display.Redraw();
    for (const auto& c : canvas.calls) {
        EXPECT_GE(c.x1, -1);
        EXPECT_LE(c.x2, 649);
    }
}

TEST_F(Mapping, ChangingUnitsRedoesTheRangeAndWritesTheSettings) {
    test::TempDir dir;
    session.paths.settingsFile = dir.Path("r470.SET");
    DisplayState& s = display.state();
    s.RangeNs = 1000;
    display.ChangeXUnits(AxisTime);
    EXPECT_EQ(s.RangeValue, 800);
    EXPECT_EQ(LoadSettings(session.paths.settingsFile).XAxisUnits, AxisTime);
}

} // namespace
} // namespace r470
