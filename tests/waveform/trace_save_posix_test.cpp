#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "waveform/trace_save.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace r470 {
namespace {

using test::ReadBytes;
using test::ScriptedPrompts;
using test::TempDir;

TraceSlot ChangedSlot(std::uint16_t samples = 3) {
    TraceSlot s;
    s.Loaded = true;
    s.Changed = true;
    s.data.header.SampleCount = samples;
    s.data.header.Diel = 600;
    for (std::size_t i = 0; i < samples; ++i)
        s.data.samples[i] = static_cast<std::uint8_t>(i * 7);
    return s;
}

// A writer that fails with the scripted codes, one per attempt, then writes for real.
struct ScriptedWriter {
    std::vector<int> failures;
    int attempts = 0;
    int operator()(const std::string& path, const std::function<int(ByteSink&)>& body) {
        ++attempts;
        if (static_cast<std::size_t>(attempts) <= failures.size())
            return failures[static_cast<std::size_t>(attempts - 1)];
        return WriteFileSafely(path, body);
    }
};

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

} // namespace r470
