#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/trace_save_fixture.h"
#include "waveform/trace_save.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace r470 {
namespace {

using namespace test_fixtures;

TEST(SaveFile, AFailedSaveLeavesTheOldFileIntact) {
    TempDir dir;
    TraceSlot old = ChangedSlot(50);
    ScriptedPrompts none;
    ASSERT_EQ(SaveFile(old, dir.Path("KEEP.KEL"), false, 660, none), SaveWritten);
    auto before = ReadBytes(dir.Path("KEEP.KEL"));

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{200, 200};
        setrlimit(RLIMIT_FSIZE, &lim);
        TraceSlot big = ChangedSlot(2048);
        ScriptedPrompts prompts;
        prompts.answers = {IdCancel};
        int result = SaveFile(big, dir.Path("KEEP.KEL"), false, 700, prompts);
        bool asked = prompts.boxes.size() == 1 && prompts.boxes[0].text == "Disk write error";
        _exit(result == SaveCancelled && asked && big.Changed ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save should fail, ask, and report Cancel";
    EXPECT_EQ(ReadBytes(dir.Path("KEEP.KEL")), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"KEEP.KEL"});
}

TEST(SaveFile, KeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    ScriptedPrompts none;
    TraceSlot slot = ChangedSlot();
    ASSERT_EQ(SaveFile(slot, dir.Path("P.KEL"), false, 660, none), SaveWritten);
    std::filesystem::permissions(dir.Path("P.KEL"), std::filesystem::perms(0640));
    ASSERT_EQ(SaveFile(slot, dir.Path("P.KEL"), false, 660, none), SaveWritten);
    EXPECT_EQ(std::filesystem::status(dir.Path("P.KEL")).permissions(),
              std::filesystem::perms(0640));
}

} // namespace
} // namespace r470
