#include "display/set_commands.h"
#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "support/set_commands_fixture.h"
#include "support/temp_dir.h"
#include "waveform/file_dialog.h"
#include "waveform/synth.h"
#include "waveform/units.h"

#include <array>

namespace r470 {
namespace {

using namespace test_fixtures;

TEST_F(SetCommandsTest, LoadTakesTheLowestFreeSlotAndNamesIt) {
    LoadAll(3);
    const TraceSlot& s = session.set.Slot(1);
    EXPECT_TRUE(s.Loaded && s.Shown && !s.Changed);
    EXPECT_EQ(s.Path, dir.Path("a1.kel")) << "the real path is kept for file operations";
    EXPECT_EQ(s.FileName, UpperFileName(dir.Path("a1.kel")));
    EXPECT_EQ(s.NsPerSample, 0.5);
    EXPECT_EQ(session.set.TraceCount, 3);
    EXPECT_EQ(session.set.CurTrace, 3);
    EXPECT_EQ(commands.GetName(1), "A1");
    EXPECT_EQ(commands.GetName(3), "C3");
    EXPECT_EQ(commands.GetName(5), "Diff");
    EXPECT_FALSE(host.labels.empty());
    EXPECT_EQ(host.Text("SFilename"), UpperFileName(dir.Path("c3.Kel")));
    // A closed slot is the next one filled.
    chooser.closes = {std::array<bool, 4>{false, true, false, false}};
    commands.MenuCloseWave();
    EXPECT_FALSE(session.set.Slot(2).Loaded);
    EXPECT_EQ(session.set.Slot(2).FileName, "");
    ASSERT_EQ(commands.LoadFile(dir.Path("D4.KEL")), LoadOk);
    EXPECT_EQ(session.set.CurTrace, 2);
    EXPECT_EQ(commands.GetName(2), "D4");
}

TEST_F(SetCommandsTest, FirstLoadSeedsTheDisplay) {
    LoadAll(1);
    const DisplayState& s = display.state();
    EXPECT_EQ(session.DisplayDiel, 660);
    EXPECT_EQ(s.Cursor1Ns, Nearest(session.set.Slot(1).data.header.Cursor * 0.5));
    EXPECT_EQ(s.Cursor2Ns, s.Cursor1Ns);
    EXPECT_EQ(s.RangeValue, 16) << "200 samples at 0.5 ns is 9.9 m";
    display.state().Cursor1Ns = 50;
    LoadAll(0);
    ASSERT_EQ(commands.LoadFile(dir.Path("B2.KEL")), LoadOk);
    EXPECT_EQ(s.Cursor1Ns, 50) << "later loads keep the display as it is";
}

TEST_F(SetCommandsTest, FifthWaveformIsRefusedBeforeTheDialogOpens) {
    LoadAll(4);
    prompts.answers = {IdOk};
    commands.Recall();
    EXPECT_EQ(chooser.opens, 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Maximum 4 waveforms allowed");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_EQ(session.set.TraceCount, 4);
}

TEST_F(SetCommandsTest, RecallLoadsTheChosenFileOrNothing) {
    chooser.paths = {std::nullopt, dir.Path("B2.KEL")};
    commands.Recall();
    EXPECT_EQ(session.set.TraceCount, 0);
    commands.Recall();
    EXPECT_EQ(session.set.TraceCount, 1);
    EXPECT_EQ(session.set.Slot(1).Path, dir.Path("B2.KEL"));
    // A bad file is refused with its message and leaves the slot free.
    test::WriteText(dir.Path("BAD.KEL"), "not a waveform");
    chooser.paths = {dir.Path("BAD.KEL")};
    prompts.answers = {IdOk};
    commands.Recall();
    EXPECT_EQ(prompts.boxes.back().text, "File is not a valid waveform file");
    EXPECT_FALSE(session.set.Slot(2).Loaded);
    EXPECT_EQ(session.set.TraceCount, 1);
}

TEST_F(SetCommandsTest, SaveAsComesBackToTheDialogAfterNo) {
    LoadAll(1);
    chooser.paths = {dir.Path("B2.KEL"), dir.Path("NEW.KEL")};
    prompts.answers = {IdNo};
    commands.MenuSaveAs();
    ASSERT_EQ(chooser.proposed.size(), 2u);
    EXPECT_EQ(chooser.proposed[0], "a1.kel");
    EXPECT_EQ(prompts.boxes[0].text, "Overwrite existing file ?");
    EXPECT_EQ(session.set.Slot(1).Path, dir.Path("NEW.KEL"));
    EXPECT_EQ(session.set.Slot(1).FileName, UpperFileName(dir.Path("NEW.KEL")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("NEW.KEL")));
    // Cancel on the question, or on the dialog, moves on without saving.
    chooser.paths = {dir.Path("B2.KEL")};
    prompts.answers = {IdCancel};
    commands.MenuSaveAs();
    EXPECT_EQ(session.set.Slot(1).Path, dir.Path("NEW.KEL"));
    chooser.paths = {std::nullopt};
    commands.MenuSaveAs();
    EXPECT_TRUE(chooser.paths.empty());
}

TEST_F(SetCommandsTest, ClosingAskedOnceForOneWaveformAndShowsTheStartPanelAgain) {
    LoadAll(1);
    prompts.answers = {IdCancel};
    commands.MenuCloseWave();
    EXPECT_EQ(session.set.TraceCount, 1);
    EXPECT_EQ(prompts.boxes[0].text, "Clear current trace");
    EXPECT_EQ(prompts.boxes[0].caption, "Confirm");
    EXPECT_EQ(prompts.boxes[0].flags, 33u);
    prompts.answers = {IdOk};
    commands.MenuCloseWave();
    EXPECT_EQ(session.set.TraceCount, 0);
    EXPECT_EQ(display.state().Cursor1Ns, -1);
    EXPECT_EQ(display.state().Cursor2Ns, -1);
}

TEST_F(SetCommandsTest, ClosingOneOfTheComparedPairRemovesTheDifference) {
    LoadAll(3);
    session.set.DiffA = 1;
    session.set.DiffB = 3;
    session.set.Slot(5).Loaded = session.set.Slot(5).Shown = true;
    session.set.CurTrace = 5;
    chooser.closes = {std::array<bool, 4>{false, false, true, false}};
    commands.MenuCloseWave();
    EXPECT_EQ(session.set.DiffA, 0);
    EXPECT_EQ(session.set.DiffB, 0);
    EXPECT_FALSE(session.set.Slot(5).Loaded);
    EXPECT_EQ(session.set.CurTrace, 1);
    EXPECT_EQ(session.set.TraceCount, 2);
    // Cancel in the dialog closes nothing.
    chooser.closes = {std::nullopt};
    commands.MenuCloseWave();
    EXPECT_EQ(session.set.TraceCount, 2);
}

TEST_F(SetCommandsTest, ClosingAChangedWaveformOffersToSaveIt) {
    LoadAll(2);
    session.set.Slot(2).Changed = true;
    chooser.closes = {std::array<bool, 4>{true, true, false, false}};
    prompts.answers = {IdNo};
    commands.MenuCloseWave();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, UpperFileName(dir.Path("B2.KEL")) +
                                         " has changed. do you want to save the changes ?");
    EXPECT_EQ(prompts.boxes[0].caption, "");
    EXPECT_EQ(prompts.boxes[0].flags, 20u);
    EXPECT_EQ(session.set.TraceCount, 0);
}

TEST_F(SetCommandsTest, NewAsksThenClearsEverything) {
    prompts.answers = {IdOk};
    commands.MenuNew();
    EXPECT_EQ(prompts.boxes.back().text, "No traces loaded");
    LoadAll(2);
    prompts.answers = {IdCancel};
    commands.MenuNew();
    EXPECT_EQ(prompts.boxes.back().text, "Clear ALL waveforms from screen ?");
    EXPECT_EQ(prompts.boxes.back().flags, 17u);
    EXPECT_EQ(session.set.TraceCount, 2);
    prompts.answers = {IdOk};
    double c1 = display.state().Cursor1Ns;
    canvas.calls.clear();
    commands.MenuNew();
    EXPECT_EQ(session.set.TraceCount, 0);
    // Nothing of the graph is left under the start panel, the scale's base line included.
    const DisplayState& s = display.state();
    auto rects = canvas.Of(CanvasCall::Rect);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ((std::array{rects.back().y1, rects.back().y2}),
              (std::array{s.GraphTop, s.GraphBottom}));
    EXPECT_LE(rects.back().y1, s.TraceBottom);
    EXPECT_GT(rects.back().y2, s.TraceBottom);
    EXPECT_FALSE(session.set.Slot(1).Loaded);
    EXPECT_EQ(session.set.Slot(1).FileName, "");
    EXPECT_EQ(display.state().Cursor1Ns, c1) << "clearing all leaves the cursors";
    LoadAll(1);
    EXPECT_EQ(session.set.CurTrace, 1);
}

TEST_F(SetCommandsTest, SelectingASlot) {
    LoadAll(2);
    display.SelectTrace(1, prompts);
    EXPECT_EQ(session.set.CurTrace, 1);
    EXPECT_EQ(host.Text("SFilename"), UpperFileName(dir.Path("a1.kel")));
    display.SelectTrace(3, prompts);
    EXPECT_EQ(prompts.beeps, 1);
    session.set.Slot(2).Shown = false;
    prompts.answers = {IdOk};
    display.SelectTrace(2, prompts);
    EXPECT_EQ(prompts.boxes.back().text, "Waveform not on screen");
    EXPECT_EQ(session.set.CurTrace, 1);
}

} // namespace
} // namespace r470
