// What the window does with the archive, without a window: the browser's tree, opening and
// comparing tests in slots, and asking before a removal.
#include "archive/archive_commands.h"
#include "display/compare.h"
#include "display/set_commands.h"
#include "support/archive_fixture.h"
#include "support/display_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

using test::CableTrace;
using test::Filing;

struct ArchiveCommands : test::DisplayFixture {
    test::TempDir dir;
    SetCommands commands{session, display, host, prompts};
    CompareCommands compare{session, display, commands, prompts};
    std::unique_ptr<CableArchive> archive;
    std::vector<std::int64_t> tests;

    void SetUp() override {
        DisplayFixture::SetUp();
        std::string error;
        archive = CableArchive::Open(dir.Path("a.sqlite"), error);
        ASSERT_TRUE(archive) << error;
        FilingRequest other = Filing(CableTrace(9, 0, "PUMP", "01/01/2026"));
        other.site = "North";
        std::vector<FilingOutcome> out;
        ASSERT_TRUE(archive->File(std::vector{Filing(CableTrace(1)), Filing(CableTrace(2)),
                                              Filing(CableTrace(3, 400)), other},
                                  out));
        for (const FilingOutcome& o : out)
            tests.push_back(o.test);
    }
};

TEST_F(ArchiveCommands, TheTreeIsSitesThenCablesThenTestsWithTheChangedMarked) {
    std::vector<BrowserRow> rows = BrowserRows(archive->List({}));
    std::vector<std::pair<BrowserRow::Level, std::string>> shape;
    for (const BrowserRow& r : rows)
        shape.emplace_back(r.level, r.columns[0]);
    using L = BrowserRow::Level;
    EXPECT_EQ(shape, (std::vector<std::pair<L, std::string>>{{L::Site, "(no site)"},
                                                             {L::Cable, "FEEDER 1"},
                                                             {L::Test, "Test 1"},
                                                             {L::Test, "Test 2"},
                                                             {L::Test, "Test 3"},
                                                             {L::Site, "North"},
                                                             {L::Cable, "PUMP"},
                                                             {L::Test, "Test 4"}}));
    EXPECT_TRUE(rows[2].baseline);
    EXPECT_EQ(rows[3].columns[5], "no change");
    EXPECT_TRUE(rows[4].changed);
    EXPECT_EQ(rows[4].columns[5].rfind("changed at ", 0), 0u) << rows[4].columns[5];
    // The search reaches the tree: a date range leaves the one older test out.
    EXPECT_EQ(BrowserRows(archive->List(BrowserFilter("", "2026-06-01", ""))).size(), 5u);
}

TEST_F(ArchiveCommands, ChosenRowsStandForTheTestsUnderThem) {
    const std::vector<BrowserRow> rows = BrowserRows(archive->List({}));
    const auto& t = tests;
    const std::pair<std::vector<std::size_t>, std::vector<std::int64_t>> cases[] = {
        {{}, {}},
        {{3}, {t[1]}},                            // a test's row
        {{1}, {t[0], t[1], t[2]}},                // a cable's
        {{5}, {t[3]}},                            // a site's
        {{4, 0, 3, 7}, {t[0], t[1], t[2], t[3]}}, // each once, in the rows' order
    };
    for (const auto& [indices, want] : cases) {
        std::vector<bool> chosen(rows.size());
        for (std::size_t i : indices)
            chosen[i] = true;
        EXPECT_EQ(TestsOfRows(rows, chosen), want) << indices.size();
    }
}

TEST_F(ArchiveCommands, CompareLoadsTheBaselineAndTheTestWithTheFirstChangeBetweenTheCursors) {
    ASSERT_TRUE(
        CompareWithBaseline(*archive, tests[2], session, commands, compare, display, prompts));
    EXPECT_TRUE(session.set.Slot(1).Loaded && session.set.Slot(2).Loaded);
    EXPECT_EQ(session.set.DiffA, 1);
    EXPECT_EQ(session.set.DiffB, 2);
    EXPECT_EQ(session.set.CurTrace, kDiffSlot);
    // The baseline's bytes, as filed, sit in slot 1.
    EXPECT_EQ(test::ReadBytes(session.set.Slot(1).Path), *archive->Bytes(tests[0]));
    EXPECT_NEAR(display.state().Cursor2Ns, archive->Test(tests[2])->change.timeNs, 0.5);
    // The baseline itself has nothing to be compared with.
    prompts.answers = {IdOk};
    EXPECT_FALSE(
        CompareWithBaseline(*archive, tests[0], session, commands, compare, display, prompts));
}

TEST_F(ArchiveCommands, RemovalIsAskedFirstAndABaselineWithOtherTestsIsKept) {
    prompts.answers = {IdNo};
    EXPECT_FALSE(RemoveFromArchive(*archive, tests[1], prompts));
    EXPECT_TRUE(archive->Test(tests[1]));
    EXPECT_EQ(prompts.boxes.back().caption, "Confirm");
    prompts.answers = {IdYes};
    EXPECT_TRUE(RemoveFromArchive(*archive, tests[1], prompts));
    EXPECT_FALSE(archive->Test(tests[1]));
    prompts.answers = {IdYes, IdOk};
    EXPECT_FALSE(RemoveFromArchive(*archive, tests[0], prompts));
    EXPECT_NE(prompts.boxes.back().text.find("mark another test"), std::string::npos);
}

TEST_F(ArchiveCommands, FilingTheCurrentWaveformTellsItsTestNumber) {
    ASSERT_TRUE(OpenArchiveTest(*archive, tests[3], commands, session, prompts));
    session.set.CurTrace = 1;
    auto q = CurrentWaveformForFiling(session, prompts);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->cable, "PUMP");
    prompts.answers = {IdOk};
    EXPECT_TRUE(FileAnswered(*archive, *q, prompts));
    EXPECT_EQ(prompts.boxes.back().text, "Already filed as test 4 of cable \"PUMP\": baseline.");
}

TEST(ArchiveChoice, ASettingIsKeptOnlyForAFileTheArchiveTakes) {
    test::TempDir dir;
    const std::string before = dir.Path("before.sqlite"), foreign = dir.Path("trace.KEL"),
                      fresh = dir.Path("new/a.sqlite");
    test::WriteBytes(foreign, test::FileBytes(CableTrace(1)));
    struct Case {
        std::string typed, kept; // the setting afterwards
        const char* told;        // in the refusal; null: nothing said
    };
    const Case cases[] = {
        {before, before, nullptr},
        {"  ", "", nullptr},                 // the default place
        {" " + fresh + " ", fresh, nullptr}, // a new archive there
        {foreign, before, "is not a cable archive of this program"},
    };
    const std::string file = dir.Path("r470-options.txt");
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        UserOptions options{before, true};
        test::ScriptedPrompts p;
        p.answers = {IdOk};
        EXPECT_EQ(ChooseArchiveFile(c.typed, options, file, p), c.told == nullptr) << c.typed;
        EXPECT_EQ(options.archivePath, c.kept);
        EXPECT_EQ(p.boxes.size(), c.told ? 1u : 0u);
        if (c.told) {
            EXPECT_NE(p.boxes[0].text.find(c.told), std::string::npos) << p.boxes[0].text;
        }
        // Remembered across runs when it changed.
        EXPECT_EQ(ReadUserOptions(file).archivePath, c.kept != before ? c.kept : "");
    }
    EXPECT_TRUE(std::filesystem::exists(fresh));
}

} // namespace
} // namespace r470
