// The display-mode window, the load compatibility questions, the X-axis units window and
// the return-loss command, driven through scripted windows.
#include "display/compare.h"
#include "shell/messages.h"
#include "support/display_fixture.h"
#include "support/scripted_compare_dialogs.h"
#include "waveform/synth.h"
#include "waveform/units.h"

namespace r470 {
namespace {

using test::ScriptedCompareDialogs;

DisplayChoice Choice(std::array<bool, 5> disp, std::array<bool, 4> diff) {
    return DisplayChoice{disp, diff};
}

struct CompareTest : test::DisplayFixture {
    test::TempDir dir;
    SetCommands commands{session, display, host, prompts};
    CompareCommands compare{session, display, commands, prompts};
    ScriptedCompareDialogs dialogs;

    void SetUp() override {
        DisplayFixture::SetUp();
        commands.SetLoadCheck(&compare);
        compare.SetDialogs(&dialogs);
    }
    std::string Make(const std::string& name, int gain = 3, int pulse = 10, int diel = 660,
                     int samples = 300) {
        SynthOptions o;
        o.samples = samples;
        o.gain = gain;
        o.pulseWidthNs = pulse;
        o.diel = diel;
        std::string path = dir.Path(name);
        WriteFileSafely(path, [&](ByteSink& out) { return WriteTrace(out, Synthesize(o)); });
        return path;
    }
    void ExpectBox(std::size_t i, int msg, int caption) {
        ASSERT_LT(i, prompts.boxes.size());
        EXPECT_EQ(prompts.boxes[i].text, MessageText(msg));
        EXPECT_EQ(prompts.boxes[i].caption, MessageText(caption));
    }
};

TEST_F(CompareTest, DisplayModeProblemsInTheirOrder) {
    LoadFlat(1);
    LoadFlat(2);
    LoadFlat(3); // slot 4 free
    const bool T = true, F = false;
    struct Case {
        DisplayChoice c;
        int problem;
    } cases[] = {
        {Choice({T, T, T, F, F}, {F, F, F, F}), 0},
        {Choice({T, F, F, F, T}, {T, F, T, F}), 0},
        {Choice({T, F, F, F, F}, {T, T, F, F}), 0},   // a pair without its difference shown
        {Choice({T, F, F, T, F}, {F, F, F, F}), 125}, // display ticked on an empty row
        {Choice({T, F, F, F, F}, {F, F, F, T}), 125}, // difference ticked on an empty row
        {Choice({T, F, F, F, F}, {T, T, T, F}), 126}, // three differences
        {Choice({T, F, F, F, F}, {T, F, F, F}), 126},
        {Choice({T, F, F, F, F}, {T, T, T, T}), 125}, // the empty row comes first
        {Choice({T, F, F, F, T}, {F, F, F, F}), 127},
        {Choice({F, F, F, F, F}, {T, T, T, F}), 128}, // nothing shown replaces the rest
        {Choice({F, F, F, F, F}, {F, F, F, T}), 128},
        {Choice({F, F, F, F, F}, {T, F, T, F}), 128},
        {Choice({F, F, F, F, T}, {T, F, T, F}), 0}, // only the difference shown
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(DisplayChoiceProblem(cases[i].c, session.set), cases[i].problem) << "case " << i;
}

TEST_F(CompareTest, WindowStaysOpenOnAProblemAndAppliesTheChoice) {
    LoadFlat(1);
    LoadFlat(2);
    LoadFlat(3);
    session.set.CurTrace = 2;
    const bool T = true, F = false;
    prompts.answers = {IdOk, IdOk};
    dialogs.selections = {{Choice({T, T, T, F, F}, {T, T, T, F}),   // three ticked
                           Choice({F, F, F, F, F}, {F, F, F, F}),   // nothing shown
                           Choice({T, F, T, F, T}, {T, F, T, F})}}; // accepted
    compare.MenuSelWaveClick();
    ASSERT_EQ(prompts.boxes.size(), 2u);
    ExpectBox(0, 126, MsgProblem);
    ExpectBox(1, 128, MsgProblem);
    EXPECT_EQ(prompts.boxes[0].flags, unsigned(MbOk));
    // Opened from the set as it was.
    ASSERT_EQ(dialogs.shownFields.size(), 1u);
    const DisplayModeFields& f = dialogs.shownFields[0];
    EXPECT_EQ(f.File[0], "/DATA/W1.KEL");
    EXPECT_EQ(f.File[3], "");
    EXPECT_EQ(f.Boxes, Choice({T, T, T, F, F}, {F, F, F, F}));

    const WaveformSet& set = session.set;
    EXPECT_EQ(set.DiffA, 1);
    EXPECT_EQ(set.DiffB, 3);
    EXPECT_TRUE(set.Slot(1).Shown && !set.Slot(2).Shown && set.Slot(3).Shown);
    EXPECT_TRUE(set.Slot(kDiffSlot).Loaded && set.Slot(kDiffSlot).Shown);
    EXPECT_EQ(set.CurTrace, 1) << "the hidden current trace gives way to the lowest shown";
    EXPECT_EQ(host.Text("SFilename"), "/DATA/W1.KEL");
    EXPECT_EQ(host.buttons[kDiffSlot], "Diff");

    // Reopened: the boxes show the pair and the difference; a new pair replaces it, the
    // difference is no longer shown and button 5 keeps its caption while a pair is set.
    dialogs.selections = {{Choice({T, T, F, F, F}, {F, T, T, F})}};
    compare.MenuSelWaveClick();
    EXPECT_EQ(dialogs.shownFields[1].Boxes, Choice({T, F, T, F, T}, {T, F, T, F}));
    EXPECT_EQ(set.DiffA, 2);
    EXPECT_EQ(set.DiffB, 3);
    EXPECT_FALSE(set.Slot(kDiffSlot).Loaded || set.Slot(kDiffSlot).Shown);
    EXPECT_EQ(host.buttons.count(kDiffSlot), 1u);
    // No pair: button 5 is blanked. Cancel changes nothing.
    dialogs.selections = {{Choice({T, T, T, F, F}, {F, F, F, F})}};
    compare.MenuSelWaveClick();
    EXPECT_EQ(set.DiffA, 0);
    EXPECT_EQ(host.buttons.count(kDiffSlot), 0u);
    dialogs.selections = {{}};
    compare.MenuSelWaveClick();
    EXPECT_TRUE(set.Slot(3).Shown);
}

TEST_F(CompareTest, TheDifferenceCanBeTheOnlyWaveformShownAndTheCurrentOne) {
    LoadFlat(1);
    LoadFlat(2);
    const bool T = true, F = false;
    dialogs.selections = {{Choice({F, F, F, F, T}, {T, T, F, F})}};
    compare.MenuSelWaveClick();
    EXPECT_EQ(session.set.CurTrace, kDiffSlot);
    EXPECT_EQ(host.Text("SMode"), "Difference");
    EXPECT_TRUE(compare.DiffWave());
    ASSERT_EQ(prompts.msgWindows.size(), 1u);
    EXPECT_EQ(prompts.msgWindows[0], "Invalid operation for difference waveform");
    session.set.CurTrace = 1;
    EXPECT_FALSE(compare.DiffWave());
    EXPECT_EQ(prompts.msgWindows.size(), 1u);
}

TEST_F(CompareTest, NothingLoadedRefusesTheWindows) {
    prompts.answers = {IdOk, IdOk, IdOk};
    compare.MenuSelWaveClick();
    compare.MenuXAxisClick();
    compare.ShowdBRL();
    ASSERT_EQ(prompts.boxes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        ExpectBox(i, MsgNoTraces, MsgProblem);
    EXPECT_TRUE(dialogs.shownFields.empty() && dialogs.xAxisShown.empty());
}

TEST_F(CompareTest, GainAndPulseWidthDifferencesAreNamed) {
    struct Case {
        int gain, pulse, msg;
    } cases[] = {{5, 10, 139}, {3, 20, 140}, {5, 20, 141}};
    std::string base = Make("base.kel");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.msg);
        commands.ClearAllTraces();
        ASSERT_EQ(commands.LoadFile(base), LoadOk) << "the first load asks nothing";
        dialogs.mismatches = {MismatchAnswer::Cancel};
        EXPECT_EQ(commands.LoadFile(Make("new.kel", c.gain, c.pulse)), LoadAbandoned);
        ASSERT_FALSE(dialogs.mismatchMessages.empty());
        EXPECT_EQ(dialogs.mismatchMessages.back(), MessageText(c.msg));
        EXPECT_EQ(session.set.TraceCount, 1);
        EXPECT_FALSE(session.set.Slot(2).Loaded) << "the slot read into stays free";
        EXPECT_EQ(session.set.CurTrace, 1);
    }
    EXPECT_TRUE(prompts.boxes.empty()) << "an abandoned load says nothing";
    // "&Ok" loads it next to the others; the same gain and pulse width ask nothing.
    dialogs.mismatches = {MismatchAnswer::Ok};
    EXPECT_EQ(commands.LoadFile(Make("new.kel", 5, 20)), LoadOk);
    EXPECT_EQ(session.set.TraceCount, 2);
    EXPECT_TRUE(session.set.Slot(2).Loaded);
    std::size_t asked = dialogs.mismatchMessages.size();
    dialogs.mismatches = {MismatchAnswer::Cancel};
    EXPECT_EQ(commands.LoadFile(Make("same.kel", 5, 20)), LoadAbandoned)
        << "one loaded waveform differing is enough";
    commands.ClearAllTraces();
    EXPECT_EQ(commands.LoadFile(base), LoadOk);
    EXPECT_EQ(commands.LoadFile(base), LoadOk);
    EXPECT_EQ(dialogs.mismatchMessages.size(), asked + 1);
    EXPECT_TRUE(dialogs.mismatches.empty());
}

TEST_F(CompareTest, ClearOthersAsksFirstAndCancelKeepsEverything) {
    std::string a = Make("a.kel"), b = Make("b.kel"), odd = Make("odd.kel", 7, 40);
    ASSERT_EQ(commands.LoadFile(a), LoadOk);
    ASSERT_EQ(commands.LoadFile(b), LoadOk);
    dialogs.mismatches = {MismatchAnswer::ClearOthers};
    prompts.answers = {IdCancel};
    EXPECT_EQ(commands.LoadFile(odd), LoadAbandoned);
    ExpectBox(0, 134, MsgConfirm);
    EXPECT_EQ(prompts.boxes[0].flags, unsigned(MbOkCancel | MbIconQuestion));
    EXPECT_EQ(session.set.TraceCount, 2);
    EXPECT_TRUE(session.set.Slot(1).Loaded && session.set.Slot(2).Loaded);
    EXPECT_EQ(session.set.Slot(1).Path, a);

    // Confirmed: the changed waveform is offered for saving, then the new one is alone in
    // slot 1, selected, with its own records.
    session.set.Slot(2).Changed = true;
    std::string question = SaveChangesQuestion(session.set.Slot(2));
    session.set.DiffA = 1;
    session.set.DiffB = 2;
    dialogs.mismatches = {MismatchAnswer::ClearOthers};
    prompts.answers = {IdOk, IdNo};
    EXPECT_EQ(commands.LoadFile(odd), LoadOk);
    ASSERT_EQ(prompts.boxes.size(), 3u);
    EXPECT_EQ(prompts.boxes[2].text, question);
    const TraceSlot& s = session.set.Slot(1);
    EXPECT_EQ(session.set.TraceCount, 1);
    EXPECT_EQ(session.set.CurTrace, 1);
    EXPECT_EQ(s.Path, odd);
    EXPECT_EQ(s.data.header.Gain, 7);
    EXPECT_EQ(s.data.header.PulseWidth, 40);
    EXPECT_FALSE(s.Changed);
    EXPECT_FALSE(session.set.Slot(2).Loaded || session.set.Slot(3).Loaded);
    EXPECT_EQ(session.set.DiffA, 0);
    EXPECT_EQ(host.buttons.size(), 1u);
    EXPECT_EQ(host.buttons[1], "ODD");
}

TEST_F(CompareTest, DifferentDielectricAsksOnlyOnADistanceAxis) {
    std::string a = Make("a.kel", 3, 10, 660), b = Make("b.kel", 3, 10, 700);
    session.settings.XAxisUnits = AxisTime;
    ASSERT_EQ(commands.LoadFile(a), LoadOk);
    ASSERT_EQ(commands.LoadFile(b), LoadOk) << "no question on the time axis";
    EXPECT_FALSE(compare.DielAllSame());
    // Switching to feet asks; Cancel keeps the units and the dielectric values.
    dialogs.xAxes = {AxisFeet, AxisFeet};
    dialogs.dielDif2s = {false, true};
    compare.MenuXAxisClick();
    EXPECT_EQ(dialogs.xAxisShown.back(), AxisTime);
    EXPECT_EQ(dialogs.dielDif2Asked, 1);
    EXPECT_EQ(session.settings.XAxisUnits, AxisTime);
    EXPECT_EQ(session.set.Slot(2).data.header.Diel, 700);
    compare.MenuXAxisClick();
    EXPECT_EQ(session.settings.XAxisUnits, AxisFeet);
    EXPECT_EQ(session.set.Slot(2).data.header.Diel, 660);
    EXPECT_TRUE(session.set.Slot(2).Changed);
    EXPECT_FALSE(session.set.Slot(1).Changed) << "only the ones that differed";
    EXPECT_TRUE(compare.DielAllSame());
    // Now equal: no question; the window's Cancel changes nothing.
    dialogs.xAxes = {AxisMetres, std::nullopt};
    compare.MenuXAxisClick();
    compare.MenuXAxisClick();
    EXPECT_EQ(dialogs.dielDif2Asked, 2);
    EXPECT_EQ(session.settings.XAxisUnits, AxisMetres);
}

TEST_F(CompareTest, DifferentDielectricOnADistanceAxisOffersThreeWays) {
    std::string a = Make("a.kel", 3, 10, 660), b = Make("b.kel", 3, 10, 700);
    session.settings.XAxisUnits = AxisMetres;
    ASSERT_EQ(commands.LoadFile(a), LoadOk);
    dialogs.dielDifs = {DielDifAnswer::Cancel, DielDifAnswer::MakeSame,
                        DielDifAnswer::ChangeToTime};
    EXPECT_EQ(commands.LoadFile(b), LoadAbandoned);
    EXPECT_EQ(session.set.TraceCount, 1);
    EXPECT_EQ(commands.LoadFile(b), LoadOk);
    EXPECT_EQ(session.set.Slot(2).data.header.Diel, 660);
    EXPECT_TRUE(session.set.Slot(2).Changed) << "closing it will offer to save";
    EXPECT_EQ(session.settings.XAxisUnits, AxisMetres);
    EXPECT_EQ(commands.LoadFile(b), LoadOk);
    EXPECT_EQ(session.settings.XAxisUnits, AxisTime);
    EXPECT_EQ(session.set.Slot(3).data.header.Diel, 700);
    EXPECT_FALSE(session.set.Slot(3).Changed);
    EXPECT_TRUE(dialogs.dielDifs.empty());
}

TEST_F(CompareTest, DielAllSameComparesWithTheDisplayDielectric) {
    EXPECT_TRUE(compare.DielAllSame());
    LoadFlat(1);
    session.set.Slot(1).data.header.Diel = 500; // one waveform is always "the same"
    EXPECT_TRUE(compare.DielAllSame());
    LoadFlat(3);
    EXPECT_FALSE(compare.DielAllSame());
    session.set.Slot(1).data.header.Diel = 660;
    EXPECT_TRUE(compare.DielAllSame());
    session.DisplayDiel = 661;
    EXPECT_FALSE(compare.DielAllSame()) << "equal to each other is not enough";
}

TEST_F(CompareTest, ReturnLossCommandShowsTheResultOrTheRefusal) {
    Load(1, 100, 1, [](int i) {
        static const int wave[] = {128, 180, 228, 200};
        return i >= 9 && i < 13 ? wave[i - 9] : 128;
    });
    session.set.Slot(1).data.header.PulseWidth = 1;
    display.state().Cursor1Ns = 60;
    display.state().Cursor2Ns = 10;
    compare.ShowdBRL();
    ASSERT_EQ(dialogs.results.size(), 1u);
    EXPECT_EQ(dialogs.results[0], std::make_pair(std::string("0.00"), std::string("0.00")));
    display.state().Cursor1Ns = 101;
    prompts.answers = {IdOk, IdOk};
    compare.ShowdBRL();
    ExpectBox(0, 137, MsgProblem);
    session.set.CurTrace = kDiffSlot;
    compare.ShowdBRL();
    ExpectBox(1, 114, MsgProblem);
    EXPECT_EQ(dialogs.results.size(), 1u);
}

} // namespace
} // namespace r470
