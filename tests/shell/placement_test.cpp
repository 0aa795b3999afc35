#include "common/file_io.h"
#include "shell/ini_file.h"
#include "shell/placement.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

const std::string kSection = "R470 3.04 Version";
const Placement kDesign{kMainDesignRect, false};
const ScreenSize kScreen{1280, 800};

TEST(IniFile, SectionsAndKeysMatchInAnyCaseAndValuesAreIntegers) {
    IniFile ini = IniFile::Parse("; comment\r\n[r470 3.04 VERSION]\r\nTOP = -4\r\n"
                                 "Left=12\r\nWidth=abc\r\nHeight=$20\r\nMaximized=1\r\n"
                                 "top=99\r\n[Other]\nTop=7\n");
    EXPECT_EQ(ini.ReadInteger(kSection, "Top", 0), -4);
    EXPECT_EQ(ini.ReadInteger(kSection, "left", 0), 12);
    EXPECT_EQ(ini.ReadInteger(kSection, "Width", 5), 5) << "not a number: the default";
    EXPECT_EQ(ini.ReadInteger(kSection, "Height", 0), 32);
    EXPECT_EQ(ini.ReadInteger(kSection, "Missing", 77), 77);
    EXPECT_EQ(ini.ReadInteger("Nowhere", "Top", 3), 3);
    EXPECT_TRUE(ini.ReadBool(kSection, "Maximized", false));
    EXPECT_EQ(ini.ReadInteger("other", "TOP", 0), 7);
}

TEST(IniFile, AValueThatIsNotOneIntegerGivesTheDefault) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"5", 5},
                 {"+5", 5},
                 {"-5", -5},
                 {" -5 ", -5},
                 {"$7f", 127},
                 {"-0x10", -16},
                 {"2147483647", 2147483647},
                 {"-2147483648", -2147483647 - 1},
                 {"-$80000000", -2147483647 - 1},
                 {"--5", 77},
                 {"+-5", 77},
                 {"-+5", 77},
                 {"++5", 77},
                 {"-", 77},
                 {"$", 77},
                 {"-$-5", 77},
                 {"0x-5", 77},
                 {"5 5", 77},
                 {"5x", 77},
                 {"", 77},
                 {"2147483648", 77},
                 {"-2147483649", 77},
                 {"--9223372036854775808", 77},
                 {"-9223372036854775808", 77},
                 {"99999999999999999999999", 77}};
    for (const Case& c : cases) {
        IniFile ini = IniFile::Parse(std::string("[s]\nk=") + c.text + "\n");
        EXPECT_EQ(ini.ReadInteger("s", "k", 77), c.value) << '"' << c.text << '"';
    }
}

TEST(IniFile, ReadIniIntOpensTheFileAndAMissingFileGivesDefaults) {
    test::TempDir dir;
    test::WriteText(dir.Path("R470.INI"),
                    "[Ports]\nCOM7=/dev/pts/3\n[R470 3.04 Version]\nTop=40\n");
    EXPECT_EQ(ReadIniInt(dir.Path("R470.INI"), kSection, "Top", 0), 40);
    EXPECT_EQ(ReadIniInt(dir.Path("NONE.INI"), kSection, "Top", 9), 9);
    EXPECT_EQ(IniFile::Load(dir.Path("R470.INI")).Value("ports", "com7"), "/dev/pts/3");
    EXPECT_EQ(IniFilePath("R470", "/home/u/.config"),
              std::string("/home/u/.config") + PreferredSeparator() + "R470.INI");
}

TEST(StartupPlacement, FirstRunKeepsTheDesignPlacement) {
    Placement p = StartupPlacement("R470", IniFile{}, kSection, kDesign, kScreen, SettingsRecord{});
    EXPECT_EQ(p, kDesign);
    EXPECT_EQ(p.normal, (WindowRect{380, 114, 648, 489}));
}

TEST(StartupPlacement, IniPlacementAppliesWhenTheSettingsHoldNone) {
    IniFile ini = IniFile::Parse("[R470 3.04 Version]\nTop=50\nLeft=60\nWidth=700\nHeight=500\n");
    SettingsRecord s; // WinWidth 0: the INI placement stands
    Placement p = StartupPlacement("R470", ini, kSection, kDesign, kScreen, s);
    EXPECT_EQ(p.normal, (WindowRect{60, 50, 700, 500}));
    EXPECT_FALSE(p.maximized);
    s.WinWidth = 0;
    s.WinHeight = 400;
    EXPECT_EQ(StartupPlacement("R470", ini, kSection, kDesign, kScreen, s).normal,
              (WindowRect{60, 50, 700, 500}));
}

TEST(StartupPlacement, SettingsPlacementWinsOverTheIni) {
    IniFile ini = IniFile::Parse("[R470 3.04 Version]\nTop=50\nLeft=60\nWidth=700\nHeight=500\n");
    SettingsRecord s;
    s.WinLeft = 1;
    s.WinTop = 2;
    s.WinWidth = 300;
    s.WinHeight = 200;
    EXPECT_EQ(StartupPlacement("R470", ini, kSection, kDesign, kScreen, s),
              (Placement{{1, 2, 300, 200}, false}));
}

TEST(StartupPlacement, WinMaximizedOpensMaximisedWhateverTheIniSays) {
    IniFile ini = IniFile::Parse("[R470 3.04 Version]\nTop=50\nLeft=60\nMaximized=0\n");
    SettingsRecord s;
    s.WinMaximized = 1;
    s.WinWidth = 300;
    s.WinHeight = 200;
    Placement p = StartupPlacement("R470", ini, kSection, kDesign, kScreen, s);
    EXPECT_TRUE(p.maximized);
    EXPECT_EQ(p.normal, (WindowRect{60, 50, 648, 489})) << "the INI's normal placement stays";
}

TEST(StartupPlacement, NegativeCornerAndOversizeMeanMaximised) {
    IniFile big = IniFile::Parse("[R470 3.04 Version]\nTop=-4\nLeft=-4\nWidth=1288\nHeight=808\n");
    Placement p = StartupPlacement("R470", big, kSection, kDesign, kScreen, SettingsRecord{});
    EXPECT_TRUE(p.maximized);
    EXPECT_EQ(p.normal, kDesign.normal);
    // Only as wide as the screen: not maximised, placed where the INI says, fitted to it.
    IniFile fits = IniFile::Parse("[R470 3.04 Version]\nTop=-4\nLeft=-4\nWidth=1280\nHeight=808\n");
    p = StartupPlacement("R470", fits, kSection, kDesign, kScreen, SettingsRecord{});
    EXPECT_FALSE(p.maximized);
    EXPECT_EQ(p.normal, (WindowRect{0, 0, 1280, 800}));
    // One corner coordinate negative only: placed as read.
    IniFile oneNeg =
        IniFile::Parse("[R470 3.04 Version]\nTop=-4\nLeft=10\nWidth=2000\nHeight=2000\n");
    EXPECT_FALSE(
        StartupPlacement("R470", oneNeg, kSection, kDesign, kScreen, SettingsRecord{}).maximized);
}

TEST(StartupPlacement, IsFittedToTheScreenBeforeItIsApplied) {
    struct Case {
        WindowRect in, out;
    } cases[] = {{{380, 114, 648, 489}, {380, 114, 648, 489}},    // fits: as it stands
                 {{0, 0, 1280, 800}, {0, 0, 1280, 800}},          // exactly the screen
                 {{10, 20, 2147483647, 300}, {0, 20, 1280, 300}}, // INI Width=2147483647
                 {{100, 100, 32767, 32767}, {0, 0, 1280, 800}},   // the settings' largest
                 {{1200, 700, 648, 489}, {632, 311, 648, 489}},   // hanging off right and bottom
                 {{-32768, -20, 648, 489}, {0, 0, 648, 489}},     // title bar above the screen
                 {{5, 5, 0, -3}, {5, 5, 1, 1}},                   // no size
                 {{-2147483647 - 1, 2147483647, 10, 10}, {0, 790, 10, 10}}};
    for (const Case& c : cases)
        EXPECT_EQ(FitToScreen(c.in, kScreen), c.out)
            << c.in.left << "," << c.in.top << " " << c.in.width << "x" << c.in.height;
    IniFile ini = IniFile::Parse("[R470 3.04 Version]\nLeft=10\nTop=10\nWidth=2147483647\n"
                                 "Height=2147483647\n");
    Placement p = StartupPlacement("R470", ini, kSection, kDesign, kScreen, SettingsRecord{});
    EXPECT_EQ(p.normal, (WindowRect{0, 0, 1280, 800}));
    SettingsRecord s;
    s.WinLeft = 32767;
    s.WinTop = 32767;
    s.WinWidth = 32767;
    s.WinHeight = 32767;
    p = StartupPlacement("R470", IniFile{}, kSection, kDesign, kScreen, s);
    EXPECT_EQ(p.normal, (WindowRect{0, 0, 1280, 800}));
}

TEST(RestorePlacement, MaximizedKeyAndEmptyApplicationName) {
    IniFile ini = IniFile::Parse("[R470 3.04 Version]\nMaximized=1\nTop=5\n");
    Placement p = RestorePlacement("R470", ini, kSection, kDesign, kScreen);
    EXPECT_TRUE(p.maximized);
    EXPECT_EQ(p.normal, kDesign.normal) << "a maximised window keeps its normal placement";
    EXPECT_EQ(RestorePlacement("", ini, kSection, kDesign, kScreen), kDesign);
    IniFile partial = IniFile::Parse("[R470 3.04 Version]\nTop=5\n");
    EXPECT_EQ(RestorePlacement("R470", partial, kSection, kDesign, kScreen).normal,
              (WindowRect{380, 5, 648, 489}));
}

TEST(StorePlacement, MaximisedKeepsTheStoredPositionAndValuesAreClamped) {
    SettingsRecord s;
    s.WinLeft = 11;
    s.WinTop = 12;
    s.WinWidth = 13;
    s.WinHeight = 14;
    StorePlacement(s, {{500, 500, 900, 700}, true});
    EXPECT_EQ(s.WinMaximized, 1);
    EXPECT_EQ(s.WinLeft, 11);
    EXPECT_EQ(s.WinWidth, 13);
    StorePlacement(s, {{-40000, 70000, 648, 489}, false});
    EXPECT_EQ(s.WinMaximized, 0);
    EXPECT_EQ(s.WinLeft, -32768);
    EXPECT_EQ(s.WinTop, 32767);
    EXPECT_EQ(s.WinWidth, 648);
    EXPECT_EQ(s.WinHeight, 489);
}

} // namespace
} // namespace r470
