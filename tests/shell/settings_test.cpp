#include "shell/program.h"
#include "shell/settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace r470 {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(WorkingFolderChoice, TheStartFolderUnlessItCannotBeWrittenAndThereIsSomewhereElse) {
    TempDir dir;
    const std::string docs = dir.Path("Documents");
    const std::string gone = dir.Path("gone");
    struct Row {
        std::string started, documents, want;
    } rows[] = {
        {dir.Path(), docs, dir.Path()}, // a folder the user may write stays
        {gone, docs, docs},             // one that cannot be written gives way
        {gone, "", gone},               // unless there is nowhere else to go
    };
    for (const Row& r : rows)
        EXPECT_EQ(WorkingFolder(r.started, r.documents), r.want) << r.started;
}

TEST(SettingsRecord, LayoutIsLittleEndianPacked106Bytes) {
    SettingsRecord s;
    s.CommPort = 0x0102;
    s.XAxisUnits = 2;
    s.DielUnits = 1;
    s.ToolBarKind = -3;
    s.WinLeft = -8;
    s.WinTop = 300;
    s.WinWidth = 648;
    s.WinHeight = 0x7FFF;
    s.WinMaximized = 1;
    auto b = EncodeSettings(s);
    ASSERT_EQ(b.size(), 106u);
    std::array<std::uint8_t, 106> expected{};
    const std::uint8_t head[] = {0x02, 0x01, 2,    0,    1,    0,    0xFD, 0xFF,
                                 0xF8, 0xFF, 0x2C, 0x01, 0x88, 0x02, 0xFF, 0x7F};
    std::copy(std::begin(head), std::end(head), expected.begin());
    expected[24] = 1;
    EXPECT_EQ(b, expected);
    EXPECT_EQ(DecodeSettings(b), s);
}

TEST(SettingsRecord, DefaultsAreThoseOfAFirstRun) {
    SettingsRecord d;
    EXPECT_EQ(d.CommPort, 2);
    EXPECT_EQ(d.XAxisUnits, 1);
    EXPECT_EQ(d.DielUnits, 0);
    EXPECT_EQ(d.ToolBarKind, 1);
    EXPECT_EQ(d.WinLeft, 0);
    EXPECT_EQ(d.WinTop, 0);
    EXPECT_EQ(d.WinWidth, 0);
    EXPECT_EQ(d.WinHeight, 0);
    EXPECT_EQ(d.WinMaximized, 0);
}

TEST(SettingsFile, MissingShortOrUnreadableFilesGiveTheDefaults) {
    TempDir dir;
    EXPECT_EQ(LoadSettings(dir.Path("none.SET")), SettingsRecord{});
    SettingsRecord s;
    s.CommPort = 7;
    auto full = EncodeSettings(s);
    WriteBytes(dir.Path("short.SET"), std::vector<std::uint8_t>(full.begin(), full.end() - 1));
    EXPECT_EQ(LoadSettings(dir.Path("short.SET")), SettingsRecord{});
    WriteBytes(dir.Path("empty.SET"), {});
    EXPECT_EQ(LoadSettings(dir.Path("empty.SET")), SettingsRecord{});
    // A folder in place of the file cannot be read as one.
    std::filesystem::create_directory(dir.Path("folder.SET"));
    EXPECT_EQ(LoadSettings(dir.Path("folder.SET")), SettingsRecord{});
}

TEST(SettingsFile, SaveThenLoadRoundTripsAndWritesExactly106Bytes) {
    TempDir dir;
    SettingsRecord s;
    s.XAxisUnits = 0;
    s.DielUnits = 2;
    s.ToolBarKind = 2;
    s.WinLeft = 10;
    s.WinTop = 20;
    s.WinWidth = 800;
    s.WinHeight = 600;
    SaveSettings(dir.Path("r470.SET"), s);
    EXPECT_EQ(ReadBytes(dir.Path("r470.SET")).size(), 106u);
    EXPECT_EQ(LoadSettings(dir.Path("r470.SET")), s);
    // A longer file: the first record is the settings.
    auto bytes = ReadBytes(dir.Path("r470.SET"));
    bytes.resize(300, 0xEE);
    WriteBytes(dir.Path("r470.SET"), bytes);
    EXPECT_EQ(LoadSettings(dir.Path("r470.SET")), s);
}

TEST(SettingsFile, SaveCreatesAMissingConfigurationFolderAndFailsSilently) {
    TempDir dir;
    SaveSettings(dir.Path("cfg") + "/r470.SET", SettingsRecord{});
    EXPECT_EQ(ReadBytes(dir.Path("cfg") + "/r470.SET").size(), 106u);
    // No folder can be made under a file: nothing is written and nothing is thrown.
    test::WriteText(dir.Path("plain"), "x");
    SaveSettings(dir.Path("plain") + "/sub/r470.SET", SettingsRecord{});
    EXPECT_FALSE(std::filesystem::exists(dir.Path("plain") + "/sub/r470.SET"));
}

TEST(SettingsFile, NameReplacesTheProgramsExtension) {
    EXPECT_EQ(SettingsFileName("/opt/tdr/r470"), "r470.SET");
    EXPECT_EQ(SettingsFileName("/opt/tdr/R470.EXE"), "R470.SET");
    EXPECT_EQ(SettingsFileName("/opt/t.d/r470"), "r470.SET");
    EXPECT_EQ(SettingsFileName("r470.bin.x"), "r470.bin.SET");
}

} // namespace
} // namespace r470
