#include "display/display_controls.h"
#include "shell/messages.h"
#include "support/display_fixture.h"
#include "waveform/units.h"

#include <functional>
#include <optional>

namespace r470 {
namespace {

using test::DisplayFixture;

struct Controls : DisplayFixture {
    void SetUp() override {
        DisplayFixture::SetUp();
        View(0, 1000);
        LoadFlat(1);
    }
    TraceHeader& Header(int n) { return session.set.Slot(n).data.header; }
    int Db(int n) { return GetGaindBs(Header(n).DispGain); }
    void ExpectNoTracesRefusal() {
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text, "No traces loaded");
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        EXPECT_EQ(prompts.boxes[0].flags, MbOk);
    }
};

TEST(GainCodes, StepThroughTheCodeSequenceBothWays) {
    struct Case {
        int from, up, down;
    };
    const Case cases[] = {
        {1, 2, -2},   {2, 4, 1},      {4, 8, 2},     {8, 16, 4},     {16, 32, 8},
        {-2, 1, -4},  {-4, -2, -8},   {-8, -4, -16}, {-16, -8, -16}, {3, 6, 1},
        {-3, -1, -6}, {-12, -6, -16}, // codes from files off the sequence
        {0, 1, -4},                   // a stored 0 moves instead of doubling to itself
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GainCodeUp(c.from), c.up) << "up from " << c.from;
        EXPECT_EQ(GainCodeDown(c.from), c.down) << "down from " << c.from;
    }
}

TEST_F(Controls, AmpStepsSixDecibelsAndStopsAtTwentyFour) {
    for (int expected : {6, 12, 18, 24, 24, 24}) {
        display.GainUp(prompts);
        EXPECT_EQ(Db(1), expected);
    }
    EXPECT_EQ(Header(1).DispGain, 16);
    Header(1).DispGain = 1;
    for (int expected : {-6, -12, -18, -24, -24}) {
        display.GainDown(prompts);
        EXPECT_EQ(Db(1), expected);
    }
    EXPECT_EQ(Header(1).DispGain, -16);
    EXPECT_TRUE(session.set.Slot(1).Changed);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(host.Text("SGain"), "0-24dB");
}

TEST_F(Controls, StoredGainThreeShowsTwelveAndStepsToEighteen) {
    Header(1).DispGain = 3;
    EXPECT_EQ(Db(1), 12);
    display.GainUp(prompts);
    EXPECT_EQ(Header(1).DispGain, 6);
    EXPECT_EQ(Db(1), 18);
}

TEST_F(Controls, GainRefusals) {
    // The difference waveform beeps and keeps every header as it was.
    LoadFlat(2);
    session.set.Slot(5).Loaded = session.set.Slot(5).Shown = true;
    session.set.CurTrace = 5;
    display.GainUp(prompts);
    display.GainDown(prompts);
    EXPECT_EQ(prompts.beeps, 2);
    for (int n : {1, 2, 5}) {
        EXPECT_EQ(Header(n).DispGain, 1);
        EXPECT_FALSE(session.set.Slot(n).Changed);
    }
    // At the stop the slot is not marked changed either.
    session.set.CurTrace = 1;
    Header(1).DispGain = 16;
    display.GainUp(prompts);
    EXPECT_FALSE(session.set.Slot(1).Changed);
}

TEST_F(Controls, EveryControlRefusesWithNothingLoaded) {
    session.set.Slot(1) = TraceSlot{};
    session.set.TraceCount = 0;
    struct Cmd {
        const char* name;
        std::function<void()> run;
    };
    struct NeverAsked : DielUnitsChooser {
        std::optional<int> ChooseDielUnits(int) override {
            ADD_FAILURE() << "dialog shown with nothing loaded";
            return 2;
        }
    } chooser;
    const Cmd cmds[] = {
        {"GainUp", [&] { display.GainUp(prompts); }},
        {"GainDown", [&] { display.GainDown(prompts); }},
        {"TraceUp", [&] { display.TraceUp(prompts); }},
        {"TraceDown", [&] { display.TraceDown(prompts); }},
        {"ChangeRange", [&] { display.ChangeRange(1, prompts); }},
        {"ChangeDiel", [&] { display.ChangeDiel(700, prompts); }},
        {"ChangeDielUnits", [&] { display.ChangeDielUnits(chooser, prompts); }},
    };
    for (const Cmd& c : cmds) {
        SCOPED_TRACE(c.name);
        prompts.boxes.clear();
        prompts.answers = {IdOk};
        c.run();
        ExpectNoTracesRefusal();
    }
    EXPECT_EQ(session.DisplayDiel, 660);
    EXPECT_EQ(session.settings.DielUnits, 0);
}

TEST_F(Controls, UpThenDownRestoresThePlaceWithoutMarkingAChange) {
    display.SetMapValues(1);
    int before = display.MapDataToY(1, 10);
    display.TraceUp(prompts);
    EXPECT_EQ(session.set.Slot(1).TraceOffset, -1);
    display.SetMapValues(1);
    EXPECT_LT(display.MapDataToY(1, 10), before) << "up is towards the top";
    display.TraceDown(prompts);
    display.SetMapValues(1);
    EXPECT_EQ(display.MapDataToY(1, 10), before);
    EXPECT_EQ(session.set.Slot(1).TraceOffset, 0);
    EXPECT_FALSE(session.set.Slot(1).Changed);
}

TEST_F(Controls, UpOnTheDifferenceWaveformMovesNoFileWaveform) {
    session.set.Slot(5).Loaded = session.set.Slot(5).Shown = true;
    session.set.CurTrace = 5;
    canvas.calls.clear();
    display.RedrawTraces();
    auto before = canvas.Of(CanvasCall::Line);
    canvas.calls.clear();
    display.TraceUp(prompts);
    EXPECT_EQ(session.set.Slot(5).TraceOffset, -1);
    EXPECT_EQ(session.set.Slot(1).TraceOffset, 0);
    auto after = canvas.Of(CanvasCall::Line);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].y2, before[i].y2) << i;
}

TEST_F(Controls, RangeDoublesHalvesAndClampsToTheTable) {
    struct Case {
        int units, from, dir, to;
    };
    const Case cases[] = {
        {AxisFeet, 8, 0, 8},
        {AxisFeet, 16, 0, 8},
        {AxisFeet, 8, 1, 16},
        {AxisFeet, 131072, 1, 131072},
        {AxisFeet, 65536, 1, 131072},
        {AxisFeet, 524288, 1, 131072},
        {AxisFeet, 524288, 0, 131072}, // above the table
        {AxisMetres, 4, 0, 4},
        {AxisMetres, 32768, 1, 32768},
        {AxisMetres, 65536, 0, 32768},
        {AxisTime, 100, 0, 100},
        {AxisTime, 409600, 1, 409600},
        {AxisTime, 819200, 0, 409600},
        {AxisTime, 1 << 29, 1, 409600}, // the largest a first load can leave
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + " " + std::to_string(c.from));
        session.settings.XAxisUnits = static_cast<std::int16_t>(c.units);
        display.state().RangeValue = c.from;
        display.state().Zoomed = true;
        display.state().ViewStartNs = 10;
        display.ChangeRange(c.dir, prompts);
        const DisplayState& s = display.state();
        EXPECT_EQ(s.RangeValue, c.to);
        EXPECT_FALSE(s.Zoomed);
        EXPECT_EQ(s.ViewStartNs, 0);
        EXPECT_EQ(s.ViewEndNs, s.RangeNs);
        if (c.units == AxisTime)
            EXPECT_EQ(s.RangeNs, c.to);
        else
            EXPECT_NEAR(NsToAxisUnits(660, c.units, s.RangeNs), c.to, 1e-6 * c.to);
        EXPECT_EQ(s.StepBase, std::max(0.1, Nearest(s.RangeNs / 600 * 10) / 10.0));
    }
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(Controls, RangeChangeKeepsTheCursorsTimes) {
    session.settings.XAxisUnits = AxisTime;
    display.state().RangeValue = 1600;
    display.state().Cursor1Ns = 1500;
    display.state().Cursor2Ns = 100;
    display.ChangeRange(0, prompts);
    EXPECT_EQ(display.state().RangeNs, 800);
    EXPECT_EQ(display.state().Cursor1Ns, 1500) << "beyond the range, not pulled in";
    EXPECT_EQ(display.state().Cursor2Ns, 100);
}

// The details' range is the axis' last label: both change together, and the difference
// waveform, which has no range of its own in the details, is left alone.
TEST_F(Controls, TheDetailsRangeFollowsEveryRangeChange) {
    const DisplayState& s = display.state();
    auto axisEnd = [&] { return FormatAxisValue(session.DisplayDiel, AxisFeet, s.RangeNs); };
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Rng+", [&] { display.ChangeRange(1, prompts); }},
        {"Rng-", [&] { display.ChangeRange(0, prompts); }},
        {"Diel+", [&] { display.ChangeDiel(session.DisplayDiel + 1, prompts); }},
    };
    session.settings.XAxisUnits = AxisFeet;
    display.state().RangeValue = 512;
    display.SetCurRangeN();
    display.TraceText(1, true);
    for (const Case& c : cases) {
        const std::string before = host.Text("SRange");
        c.act();
        EXPECT_NE(host.Text("SRange"), before) << c.what;
        EXPECT_EQ(host.Text("SRange"), axisEnd()) << c.what;
    }
    LoadFlat(3);
    session.set.DiffA = 1;
    session.set.DiffB = 3;
    session.set.Slot(kDiffSlot).Loaded = session.set.Slot(kDiffSlot).Shown = true;
    session.set.CurTrace = kDiffSlot;
    display.TraceText(kDiffSlot, true);
    display.ChangeRange(1, prompts);
    EXPECT_EQ(host.Text("SRange"), "") << "not set for the difference";
}

TEST_F(Controls, DielectricClampsAndMarksEveryLoadedWaveform) {
    LoadFlat(3);
    Header(3).Diel = 500;
    struct Case {
        int display, asked, result;
    };
    const Case cases[] = {
        {999, 1000, 999}, {300, 299, 300}, {660, 661, 661}, {660, -5, 300}, {660, 70000, 999}};
    for (const Case& c : cases) {
        session.DisplayDiel = c.display;
        session.set.Slot(1).Changed = session.set.Slot(3).Changed = false;
        View(0, 1000);
        display.ChangeDiel(c.asked, prompts);
        EXPECT_EQ(session.DisplayDiel, c.result) << c.asked;
        for (int n : {1, 3}) {
            EXPECT_EQ(Header(n).Diel, c.result) << n;
            EXPECT_TRUE(session.set.Slot(n).Changed) << n;
        }
        EXPECT_FALSE(session.set.Slot(2).Changed) << "an empty slot is left alone";
        EXPECT_EQ(display.state().RangeNs, 1000) << "the waveforms do not move";
        EXPECT_EQ(display.state().ViewEndNs, 1000);
    }
}

TEST_F(Controls, DielectricChangeRewritesTheReadoutInBlack) {
    session.settings.XAxisUnits = AxisMetres;
    display.ChangeDiel(700, prompts);
    bool oldErased = false, newWritten = false;
    for (const auto& c : canvas.calls) {
        oldErased |= c.kind == CanvasCall::Text && c.text == "PVF 0.660" && c.colour == kWhite;
        newWritten |= c.kind == CanvasCall::Text && c.text == "PVF 0.700" && c.colour == kBlack;
    }
    EXPECT_TRUE(oldErased);
    EXPECT_TRUE(newWritten);
}

struct ScriptedUnits : DielUnitsChooser {
    std::optional<int> answer;
    int shownWith = -1;
    std::optional<int> ChooseDielUnits(int current) override {
        shownWith = current;
        return answer;
    }
};

TEST_F(Controls, DielectricUnitsDialogChangesOnlyOnOk) {
    session.settings.XAxisUnits = AxisMetres;
    ScriptedUnits chooser;
    display.ChangeDielUnits(chooser, prompts);
    EXPECT_EQ(chooser.shownWith, 0);
    EXPECT_EQ(session.settings.DielUnits, 0) << "cancelled";
    chooser.answer = 2;
    canvas.calls.clear();
    display.ChangeDielUnits(chooser, prompts);
    EXPECT_EQ(session.settings.DielUnits, 2);
    std::string written;
    for (const auto& c : canvas.calls)
        if (c.kind == CanvasCall::Text && c.colour == kBlack)
            written = c.text;
    EXPECT_EQ(written, "V/2 99 m/\xB5s");
    EXPECT_EQ(host.Text("SFilename"), "/DATA/W1.KEL") << "details written again";
    chooser.answer = 7; // not a unit: nothing changes
    display.ChangeDielUnits(chooser, prompts);
    EXPECT_EQ(session.settings.DielUnits, 2);
}

} // namespace
} // namespace r470
