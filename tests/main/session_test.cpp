#include "main/session.h"
#include "shell/messages.h"
#include "support/scripted_prompts.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace r470 {
namespace {

using namespace test_fixtures;

TEST_F(SessionFixture, StartLoadsSettingsAndEmptiesTheSlots) {
    SettingsRecord stored;
    stored.ToolBarKind = 2;
    stored.CommPort = 3;
    SaveSettings(session.paths.settingsFile, stored);
    session.set.Slot(5).TraceOffset = 9;
    session.set.Slot(2).Loaded = true;
    session.set.TraceCount = 1;
    session.set.CurTrace = 2;
    session.set.DiffA = 1;
    session.TraceStep = 4;
    Placement p = StartSession(session, design, {1280, 1024});
    EXPECT_EQ(p, design);
    EXPECT_EQ(session.settings, stored);
    EXPECT_FALSE(UsesNormalToolbar(session.settings));
    EXPECT_FALSE(session.set.Slot(2).Loaded);
    EXPECT_EQ(session.set.Slot(5).TraceOffset, 0);
    EXPECT_EQ(session.set.TraceCount, 0);
    EXPECT_EQ(session.set.CurTrace, 0);
    EXPECT_EQ(session.set.DiffA, 0);
    EXPECT_EQ(session.TraceStep, 1);
    EXPECT_FALSE(session.messageFileFound);
}

TEST_F(SessionFixture, ToolbarKindOneIsNormalAndAnythingElseInstrument) {
    SettingsRecord s;
    for (int kind : {0, 2, 3, -1})
        EXPECT_FALSE(UsesNormalToolbar({.ToolBarKind = static_cast<std::int16_t>(kind)})) << kind;
    EXPECT_TRUE(UsesNormalToolbar(s));
}

TEST_F(SessionFixture, MessageFileIsOnlyLookedFor) {
    test::WriteText(dir.Path("MESSAGE.TXT"), "anything");
    StartSession(session, design, {1024, 768});
    EXPECT_TRUE(session.messageFileFound);
}

TEST_F(SessionFixture, CloseStoresPlacementAndWritesSettings) {
    StartSession(session, design, {1024, 768});
    ASSERT_TRUE(CloseSession(session, {{10, 20, 700, 500}, false}, prompts));
    SettingsRecord back = LoadSettings(session.paths.settingsFile);
    EXPECT_EQ(back.WinLeft, 10);
    EXPECT_EQ(back.WinTop, 20);
    EXPECT_EQ(back.WinWidth, 700);
    EXPECT_EQ(back.WinHeight, 500);
    EXPECT_EQ(back.WinMaximized, 0);
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SessionFixture, CancellingTheSavePromptKeepsTheProgramOpenAndWritesNothing) {
    StartSession(session, design, {1024, 768});
    LoadChanged(2, "A.KEL");
    prompts.answers = {IdCancel};
    EXPECT_FALSE(CloseSession(session, {{10, 20, 700, 500}, false}, prompts));
    EXPECT_FALSE(std::filesystem::exists(session.paths.settingsFile));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "/TMP/A.KEL has changed. do you want to save the changes ?");
    EXPECT_EQ(prompts.boxes[0].caption, "");
    EXPECT_EQ(prompts.boxes[0].flags, 19u);
    EXPECT_TRUE(session.set.Slot(2).Changed);
}

TEST_F(SessionFixture, CloseAsksForEachChangedSlotAndSavesOnYes) {
    StartSession(session, design, {1024, 768});
    LoadChanged(1, "A.KEL");
    LoadChanged(3, "C.KEL");
    session.DisplayDiel = 712;
    prompts.answers = {IdYes, IdNo};
    EXPECT_TRUE(CloseSession(session, {{0, 0, 648, 489}, false}, prompts));
    EXPECT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(test::ReadBytes(dir.Path("A.KEL")).size(), 108u + 3 + 9);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("C.KEL")));
    EXPECT_EQ(session.set.Slot(1).data.header.Diel, 712);
    EXPECT_TRUE(std::filesystem::exists(session.paths.settingsFile));
}

TEST_F(SessionFixture, AFailedSaveOnCloseRefusesTheCloseSoNothingIsLost) {
    StartSession(session, design, {1024, 768});
    LoadChanged(1, "missing-folder/A.KEL");
    // Yes to saving; the save fails with "Path not found"; Cancel on the retry box.
    prompts.answers = {IdYes, IdCancel};
    EXPECT_FALSE(CloseSession(session, {{0, 0, 648, 489}, false}, prompts));
    EXPECT_EQ(prompts.boxes[1].text, "Path not found");
    EXPECT_TRUE(session.set.Slot(1).Changed);
    EXPECT_FALSE(std::filesystem::exists(session.paths.settingsFile));
}

TEST_F(SessionFixture, DiscardingWithoutCancelAsksYesNoAndAlwaysLetsGo) {
    LoadChanged(1, "missing-folder/A.KEL");
    prompts.answers = {IdYes, IdCancel};
    EXPECT_TRUE(session.set.CheckChange(1, false, 660, prompts));
    EXPECT_EQ(prompts.boxes[0].flags, 20u);
    // Unchanged, unloaded and the difference slot are never asked about.
    session.set.Slot(1).Changed = false;
    EXPECT_TRUE(session.set.CheckChange(1, true, 660, prompts));
    EXPECT_TRUE(session.set.CheckChange(2, true, 660, prompts));
    session.set.Slot(5).Loaded = session.set.Slot(5).Changed = true;
    EXPECT_TRUE(session.set.CheckChange(5, true, 660, prompts));
    EXPECT_EQ(prompts.boxes.size(), 2u);
}

TEST_F(SessionFixture, ClosingWhileMaximisedKeepsTheLastNormalPosition) {
    SettingsRecord stored;
    stored.WinLeft = 5;
    stored.WinTop = 6;
    stored.WinWidth = 640;
    stored.WinHeight = 480;
    SaveSettings(session.paths.settingsFile, stored);
    StartSession(session, design, {1024, 768});
    ASSERT_TRUE(CloseSession(session, {{0, 0, 1024, 768}, true}, prompts));
    SettingsRecord back = LoadSettings(session.paths.settingsFile);
    EXPECT_EQ(back.WinMaximized, 1);
    EXPECT_EQ(back.WinLeft, 5);
    EXPECT_EQ(back.WinWidth, 640);
}

} // namespace
} // namespace r470
