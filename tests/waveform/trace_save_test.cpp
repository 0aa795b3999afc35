#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/trace_save_fixture.h"
#include "waveform/trace_save.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

using namespace test_fixtures;

TEST(SaveFile, WritesStoresTheDisplayDielectricAndClearsChanged) {
    TempDir dir;
    ScriptedPrompts prompts;
    TraceSlot slot = ChangedSlot();
    EXPECT_EQ(SaveFile(slot, dir.Path("A.KEL"), false, 745, prompts), SaveWritten);
    EXPECT_FALSE(slot.Changed);
    EXPECT_EQ(slot.data.header.Diel, 745);
    auto bytes = ReadBytes(dir.Path("A.KEL"));
    ASSERT_EQ(bytes.size(), 120u);
    EXPECT_EQ(bytes[83] | (bytes[84] << 8), 745);
    EXPECT_TRUE(prompts.boxes.empty());
    // Without the question an existing file is simply rewritten.
    slot.data.samples[0] = 99;
    EXPECT_EQ(SaveFile(slot, dir.Path("A.KEL"), false, 745, prompts), SaveWritten);
    EXPECT_EQ(ReadBytes(dir.Path("A.KEL"))[108], 99);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(dir.Names().size(), 1u) << "no temporary file is left behind";
}

TEST(SaveFile, OverwriteQuestionAnswers) {
    TempDir dir;
    test::WriteText(dir.Path("OLD.KEL"), "old contents");
    struct Case {
        int answer;
        int result;
        bool written;
    };
    for (Case c : {Case{IdNo, SaveDeclined, false}, Case{IdCancel, SaveCancelled, false},
                   Case{IdYes, SaveWritten, true}}) {
        test::WriteText(dir.Path("OLD.KEL"), "old contents");
        ScriptedPrompts prompts;
        prompts.answers = {c.answer};
        TraceSlot slot = ChangedSlot();
        EXPECT_EQ(SaveFile(slot, dir.Path("OLD.KEL"), true, 660, prompts), c.result);
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text, "Overwrite existing file ?");
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        EXPECT_EQ(prompts.boxes[0].flags, 51u);
        EXPECT_EQ(ReadBytes(dir.Path("OLD.KEL")).size(), c.written ? 120u : 12u);
        EXPECT_EQ(slot.Changed, !c.written);
    }
    // A new name is not asked about.
    ScriptedPrompts quiet;
    TraceSlot slot = ChangedSlot();
    EXPECT_EQ(SaveFile(slot, dir.Path("NEW.KEL"), true, 660, quiet), SaveWritten);
    EXPECT_TRUE(quiet.boxes.empty());
}

TEST(SaveFile, RetryRulesByErrorCode) {
    TempDir dir;
    struct Case {
        std::vector<int> failures;
        std::vector<int> answers;
        int result;
        int attempts;
        const char* firstText;
    };
    const Case cases[] = {
        {{5}, {IdRetry}, SaveDeclined, 1, "Access denied"},
        {{2}, {IdRetry}, SaveDeclined, 1, "File not found"},
        {{3}, {IdRetry}, SaveDeclined, 1, "Path not found"},
        {{4}, {IdRetry}, SaveCancelled, 1, "Too many open files"},
        {{101}, {IdCancel}, SaveCancelled, 1, "Disk write error"},
        {{5}, {IdCancel}, SaveCancelled, 1, "Access denied"},
        {{101, 28}, {IdRetry, IdRetry}, SaveWritten, 3, "Disk write error"},
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        prompts.answers.assign(c.answers.begin(), c.answers.end());
        ScriptedWriter writer{c.failures};
        TraceSlot slot = ChangedSlot();
        std::filesystem::remove(dir.Path("R.KEL"));
        EXPECT_EQ(SaveFile(slot, dir.Path("R.KEL"), false, 660, prompts, std::ref(writer)),
                  c.result)
            << c.firstText;
        EXPECT_EQ(writer.attempts, c.attempts) << c.firstText;
        ASSERT_EQ(prompts.boxes.size(), c.answers.size());
        EXPECT_EQ(prompts.boxes[0].text, c.firstText);
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        EXPECT_EQ(prompts.boxes[0].flags, 5u);
        EXPECT_EQ(slot.Changed, c.result != SaveWritten);
        EXPECT_EQ(std::filesystem::exists(dir.Path("R.KEL")), c.result == SaveWritten);
    }
    ScriptedPrompts prompts;
    prompts.answers = {IdCancel};
    ScriptedWriter writer{{28}};
    TraceSlot slot = ChangedSlot();
    SaveFile(slot, dir.Path("R.KEL"), false, 660, prompts, std::ref(writer));
    EXPECT_EQ(prompts.boxes[0].text, "Error 28");
}

TEST(SaveFile, RealFileSystemFailures) {
    TempDir dir;
    // A missing folder is "Path not found"; Retry then gives up so the caller can ask again.
    ScriptedPrompts prompts;
    prompts.answers = {IdRetry};
    TraceSlot slot = ChangedSlot();
    EXPECT_EQ(SaveFile(slot, dir.Path("nofolder/A.KEL"), false, 660, prompts), SaveDeclined);
    EXPECT_EQ(prompts.boxes.at(0).text, "Path not found");
    // A folder with the file's name cannot be replaced: "Access denied".
    std::filesystem::create_directory(dir.Path("B.KEL"));
    prompts = {};
    prompts.answers = {IdRetry};
    EXPECT_EQ(SaveFile(slot, dir.Path("B.KEL"), false, 660, prompts), SaveDeclined);
    EXPECT_EQ(prompts.boxes.at(0).text, "Access denied");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("B.KEL")));
}

// The old waveform must survive a save that breaks off half way (a full disk here, made
// with a file-size limit in a child process so the test runner is not affected).

} // namespace
} // namespace r470
