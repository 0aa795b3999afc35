#include "shell/program.h"
#include "shell/settings.h"
#include "support/in_child.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(SettingsFile, LivesBesideTheProgramUnlessThatFolderIsNotWritable) {
    TempDir dir;
    EXPECT_EQ(SettingsFilePath(dir.Path("r470"), "/cfg"), dir.Path("r470.SET"));
    EXPECT_EQ(SettingsFilePath(dir.Path("missing") + "/r470", "/cfg"), "/cfg/r470.SET");
}

TEST(SettingsFile, AnInstalledProgramKeepsSettingsInTheUsersFolderEvenWhereItMayWrite) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.Path("bin").c_str(), 0755), 0);
    // A bin folder alone is a copy run from anywhere; beside share/r470 it is an install.
    EXPECT_EQ(SettingsFilePath(dir.Path("bin/r470"), "/cfg"), dir.Path("bin/r470.SET"));
    ASSERT_EQ(::mkdir(dir.Path("share").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.Path("share/r470").c_str(), 0755), 0);
    EXPECT_EQ(SettingsFilePath(dir.Path("bin/r470"), "/cfg"), "/cfg/r470.SET");
    // A folder merely ending in "bin" is no install.
    ASSERT_EQ(::mkdir(dir.Path("sbin").c_str(), 0755), 0);
    EXPECT_EQ(SettingsFilePath(dir.Path("sbin/r470"), "/cfg"), dir.Path("sbin/r470.SET"));
    // Nor is it a place to work in: files go to the user's documents instead.
    EXPECT_EQ(WorkingFolder(dir.Path("bin"), "/home/u/Documents"), "/home/u/Documents");
    EXPECT_EQ(WorkingFolder(dir.Path("sbin"), "/home/u/Documents"), dir.Path("sbin"));
}

TEST(SettingsFile, AnUnwritableProgramFolderStillGivesItsSettingsToEveryUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to set up a folder that nobody may write";
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    std::string prog = dir.Path("bin");
    std::string cfg = dir.Path("cfg");
    ASSERT_EQ(::mkdir(prog.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(cfg.c_str(), 0755), 0);
    ASSERT_EQ(::chown(cfg.c_str(), test::kNobody, test::kNogroup), 0);
    SettingsRecord preset;
    preset.CommPort = 7;
    SaveSettings(prog + "/r470.SET", preset);
    ::chmod((prog + "/r470.SET").c_str(), 0644);

    // The administrator's copy is read while the user has none; the user's is written.
    auto firstRun = test::InChild(true, [&] {
        SettingsRecord s = LoadSettings(SettingsReadPath(prog + "/r470", cfg));
        s.XAxisUnits = 2;
        SaveSettings(SettingsFilePath(prog + "/r470", cfg), s);
        return s.CommPort;
    });
    EXPECT_EQ(firstRun, 7);
    EXPECT_EQ(LoadSettings(cfg + "/r470.SET").XAxisUnits, 2);
    EXPECT_EQ(LoadSettings(cfg + "/r470.SET").CommPort, 7);
    EXPECT_EQ(LoadSettings(prog + "/r470.SET"), preset) << "the shared copy is not touched";

    // From then on the user's own copy wins.
    SettingsRecord mine = LoadSettings(cfg + "/r470.SET");
    mine.CommPort = 9;
    SaveSettings(cfg + "/r470.SET", mine);
    auto later = test::InChild(
        true, [&] { return LoadSettings(SettingsReadPath(prog + "/r470", cfg)).CommPort; });
    EXPECT_EQ(later, 9);
    // Where the folder can be written, reading and writing both use the file beside it.
    EXPECT_EQ(SettingsReadPath(prog + "/r470", cfg), prog + "/r470.SET");
}

} // namespace
} // namespace r470
