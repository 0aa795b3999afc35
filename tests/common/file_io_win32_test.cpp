#include "common/file_io.h"
#include "common/file_io_win32.h"
#include "common/temp_files.h"
#include "common/wide_text.h"
#include "shell/program.h"
#include "shell/program_place.h"
#include "shell/settings.h"
#include "support/temp_dir.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace r470 {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<std::uint8_t> kNew = {'n', 'e', 'w', ' ', 'b', 'y', 't', 'e', 's'};

std::filesystem::path U8(const std::string& s) {
    return std::filesystem::path(WideFromUtf8(s));
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(U8(dir)))
        names.push_back(Utf8FromWide(e.path().filename().wstring()));
    return names;
}

void Age(const std::string& path, int seconds) {
    HANDLE h = ::CreateFileW(WideFromUtf8(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(seconds) * 10000000ULL;
    FILETIME then{t.LowPart, t.HighPart};
    ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &then));
    ::CloseHandle(h);
}

TEST(Win32Paths, SeparatorsDrivesAndSharesSplitAsWindowsDoes) {
    struct Row {
        const char* path;
        const char* dir;
        const char* base;
    } rows[] = {
        {"C:\\data\\CABLE7.KEL", "C:\\data", "CABLE7.KEL"},
        {"C:/data/CABLE7.KEL", "C:/data", "CABLE7.KEL"}, // forward slashes as well
        {"D:\\mixed/sub\\x.KEL", "D:\\mixed/sub", "x.KEL"},
        {"C:\\x.KEL", "C:\\", "x.KEL"}, // the root keeps its separator
        {"\\\\server\\share\\x.KEL", "\\\\server\\share\\", "x.KEL"},
        {"x.KEL", ".", "x.KEL"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DirName(r.path), r.dir) << r.path;
        EXPECT_EQ(BaseName(r.path), r.base) << r.path;
    }
    EXPECT_EQ(RootLength("\\\\?\\C:\\long\\x"), 7u);
    // Joined as Windows shows paths; no second separator after a root or a typed one.
    const char* joins[][3] = {
        {"C:\\Windows", "R470.INI", "C:\\Windows\\R470.INI"},
        {"C:\\", "R470.INI", "C:\\R470.INI"},
        {"C:/data/", "x.KEL", "C:/data/x.KEL"},
        {"C:", "x.KEL", "C:x.KEL"}, // the drive's current folder, not its root
    };
    for (auto& j : joins)
        EXPECT_EQ(JoinPath(j[0], j[1]), j[2]) << j[0];
}

TEST(Win32SafeWriter, ReplacesAFileKeepingItsAttributesAndLeavesNoTemporaryFile) {
    TempDir dir;
    std::string path = dir.Path("CABLE7.KEL");
    WriteBytes(path, kOld);
    ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(path).c_str(), FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(WriteFileBytes(path, kNew), 0);
    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_TRUE(::GetFileAttributesW(WideFromUtf8(path).c_str()) & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"CABLE7.KEL"});
    // A new file in the same way, and a folder that is not there is "path not found".
    ASSERT_EQ(WriteFileBytes(dir.Path("NEW.KEL"), kNew), 0);
    EXPECT_EQ(ReadBytes(dir.Path("NEW.KEL")), kNew);
    EXPECT_EQ(WriteFileBytes(dir.Path("none\\x.KEL"), kNew), 3);
}

// ReplaceFileW's documented half-way outcomes, made to happen as a scanner or a synced
// folder makes them happen on a real machine.
unsigned long replaceOutcome = 0;
bool moveIntoNameFails = false;

unsigned long FakeReplace(const wchar_t* target, const wchar_t* temp) {
    (void)temp;
    if (replaceOutcome == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        ::DeleteFileW(target); // the old file gone, the new one still under its own name
    if (replaceOutcome == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        ::MoveFileW(target, (std::wstring(target) + L".moved").c_str());
    return replaceOutcome;
}

unsigned long FakeMove(const wchar_t* from, const wchar_t* to) {
    if (moveIntoNameFails && !std::wstring(to).ends_with(L".new"))
        return ERROR_SHARING_VIOLATION;
    return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) ? 0 : ::GetLastError();
}

TEST(Win32SafeWriter, AReplaceStoppedHalfWayNeverLosesBothContents) {
    struct Row {
        unsigned long outcome;
        bool moveFails;
        int result;
        std::vector<std::string> names; // what the folder holds afterwards
        std::vector<std::uint8_t> underName;
    } rows[] = {
        {ERROR_UNABLE_TO_REMOVE_REPLACED, false, 0, {"CABLE7.KEL"}, kNew}, // written in place
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, 0, {"CABLE7.KEL"}, kNew},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false, 0, {"CABLE7.KEL", "CABLE7.KEL.moved"}, kNew},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, true, kNewBytesKept, {"CABLE7.KEL.new"}, {}},
    };
    for (const Row& r : rows) {
        TempDir dir;
        const std::string path = dir.Path("CABLE7.KEL");
        WriteBytes(path, kOld);
        replaceOutcome = r.outcome;
        moveIntoNameFails = r.moveFails;
        const FileSwapCalls before = SetFileSwapCalls({FakeReplace, FakeMove});
        const int result = WriteFileBytes(path, kNew);
        SetFileSwapCalls(before);
        EXPECT_EQ(result, r.result) << r.outcome;
        auto names = Entries(dir.Path());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, r.names) << r.outcome;
        if (result == 0) {
            EXPECT_EQ(ReadBytes(path), r.underName) << r.outcome;
        } else {
            EXPECT_EQ(KeptNewFile(), dir.Path("CABLE7.KEL.new"));
            EXPECT_EQ(ReadBytes(KeptNewFile()), kNew);
        }
    }
}

TEST(Win32SafeWriter, ReadOnlyFilesAndFoldersAreRefusedAsAccessDeniedAndKept) {
    TempDir dir;
    std::string path = dir.Path("LOCKED.KEL");
    WriteBytes(path, kOld);
    ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteFileBytes(path, kNew), 5);
    EXPECT_EQ(ReadBytes(path), kOld);
    ::SetFileAttributesW(WideFromUtf8(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(WriteFileBytes(dir.Path(), kNew), 5);
}

TEST(Win32SafeWriter, DeviceNamesAreNeverOpened) {
    TempDir dir;
    const std::vector<std::string> names = {"NUL",
                                            "con",
                                            "COM1",
                                            "lpt2.txt",
                                            "\\\\.\\COM1",
                                            "AUX.KEL",
                                            "CONOUT$",
                                            dir.Path("nul.KEL"),
                                            dir.Path("Com3"),
                                            "COM1:.KEL",
                                            dir.Path("NUL:x.KEL"),
                                            "C:aux .KEL"};
    for (const std::string& name : names) {
        EXPECT_EQ(WriteFileBytes(name, kNew), 5) << name;
        InFile in;
        EXPECT_EQ(in.Open(name), 5) << name;
    }
    // Names that only begin like a device are ordinary files.
    EXPECT_EQ(WriteFileBytes(dir.Path("CONSOLE.KEL"), kNew), 0);
    EXPECT_EQ(WriteFileBytes(dir.Path("COM10.KEL"), kNew), 0);
}

TEST(Win32SafeWriter, NamesBeyondAsciiOpenAndSave) {
    TempDir dir;
    const std::vector<std::string> names = {"caf\xC3\xA9.KEL", "\xC2\xB5s.KEL",
                                            "Br\xC3\xBC"
                                            "cke.KEL",
                                            "\xD0\x9A\xD0\xB0\xD0\xB1\xD0\xB5\xD0\xBB\xD1\x8C.KEL"};
    for (const std::string& name : names) {
        std::string path = dir.Path(name);
        ASSERT_EQ(WriteFileBytes(path, kNew), 0) << name;
        EXPECT_TRUE(std::filesystem::exists(U8(path))) << name; // the real wide name
        InFile in;
        ASSERT_EQ(in.Open(path), 0) << name;
        std::vector<std::uint8_t> back(32);
        std::size_t got = 0;
        ASSERT_EQ(in.Read(back, got), 0);
        back.resize(got);
        EXPECT_EQ(back, kNew) << name;
    }
}

TEST(Win32TempFiles, OnlyQuietFilesOfEndedWritersAreRemoved) {
    TempDir dir;
    const std::string ended = TempFileName(999999, "abc123"); // no such process
    const std::string mine = TempFileName(CurrentProcessId(), "def456");
    const std::string fresh = TempFileName(999998, "ghi789");
    const std::string older = ".r470~jkl012"; // a name without a writer
    for (const std::string& n : {ended, mine, fresh, older})
        WriteBytes(dir.Path(n), kOld);
    for (const std::string& n : {ended, mine, older})
        Age(dir.Path(n), 120);
    ASSERT_EQ(WriteFileBytes(dir.Path("SAVED.KEL"), kNew), 0);
    auto names = Entries(dir.Path());
    auto has = [&](const std::string& n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    EXPECT_FALSE(has(ended));
    EXPECT_FALSE(has(older));
    EXPECT_TRUE(has(mine));  // its writer is running
    EXPECT_TRUE(has(fresh)); // changed within the minute
}

TEST(Win32Settings, BesideTheProgramUnlessInstalledUnderProgramFiles) {
    TempDir dir;
    std::string prog = dir.Path("r470.exe");
    EXPECT_EQ(SettingsFilePath(prog, "C:\\cfg"), dir.Path() + "\\r470.SET");
    // Under a Program Files folder every user shares the program: settings go to the user's.
    ASSERT_TRUE(::SetEnvironmentVariableW(L"ProgramFiles", WideFromUtf8(dir.Path()).c_str()));
    std::filesystem::create_directory(U8(dir.Path("R470")));
    std::string installed = dir.Path("R470\\r470.exe");
    EXPECT_TRUE(SharedProgramFolder(DirName(installed)));
    EXPECT_FALSE(SharedProgramFolder(dir.Path()));
    EXPECT_EQ(SettingsFilePath(installed, "C:\\cfg"), "C:\\cfg\\r470.SET");
    // Started there (a shortcut without a folder), the program works in the user's documents.
    EXPECT_EQ(WorkingFolder(dir.Path("R470"), "C:\\Docs"), "C:\\Docs");
    // Until the user has a copy, the one beside the program is read.
    EXPECT_EQ(SettingsReadPath(installed, dir.Path("cfg")), dir.Path("R470") + "\\r470.SET");
    std::filesystem::create_directory(U8(dir.Path("cfg")));
    WriteBytes(dir.Path("cfg\\r470.SET"), std::vector<std::uint8_t>(106));
    EXPECT_EQ(SettingsReadPath(installed, dir.Path("cfg")), dir.Path("cfg") + "\\r470.SET");
}

TEST(Win32Settings, ConfigurationInAppDataAndTheIniFileInTheWindowsFolder) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"APPDATA", L"C:\\Users\\tech\\AppData\\Roaming"));
    EXPECT_EQ(UserConfigDir(), "C:\\Users\\tech\\AppData\\Roaming\\R470");
    wchar_t windir[MAX_PATH];
    UINT n = ::GetWindowsDirectoryW(windir, MAX_PATH);
    EXPECT_EQ(IniFolder(), Utf8FromWide(std::wstring(windir, n)));
}

} // namespace
} // namespace r470
