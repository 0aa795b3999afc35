// The waveform file dialog on Windows: drives as roots, '\' in every path it makes, and
// names beyond ASCII reached through the wide calls.
#include "common/wide_text.h"
#include "support/temp_dir.h"
#include "waveform/file_dialog.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace r470 {
namespace {

using test::TempDir;

// "Ü-ß" and "Кабель" in UTF-8.
const std::string kUtf8Name = "\xC3\x9C-\xC3\x9F";
const std::string kCyrillic = "\xD0\x9A\xD0\xB0\xD0\xB1\xD0\xB5\xD0\xBB\xD1\x8C";

void Touch(const std::string& utf8Path) {
    HANDLE h = ::CreateFileW(WideFromUtf8(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << utf8Path;
    ::CloseHandle(h);
}

TEST(Win32FileDialog, RootsAreDrivesAndTheUserFolderAndTheDeepestOneIsChosen) {
    auto roots = SystemUserRoots();
    ASSERT_FALSE(roots.empty());
    EXPECT_TRUE(std::find(roots.begin(), roots.end(), "C:\\") != roots.end());
    const std::vector<std::string> table = {"C:\\", "D:\\", "C:\\Users\\ann"};
    struct Row {
        const char* folder;
        int root;
    } rows[] = {
        {"C:\\", 0},
        {"C:\\data", 0},
        {"C:\\Users\\ann\\cables", 2},
        {"C:\\Users\\annex", 0}, // a longer name is not inside the user's folder
        {"D:\\", 1},
        {"E:\\x", -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RootIndexOf(table, r.folder), r.root) << r.folder;
    // A drive's root has no ".." row and shows as the drive.
    auto top = FolderRows("C:\\");
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top[0], (FolderRow{FolderRowKind::Current, "C:\\", "C:\\"}));
    EXPECT_TRUE(top.size() == 1 || top[1].kind == FolderRowKind::Sub);
}

TEST(Win32FileDialog, PathsUseBackslashesAndNamesBeyondAsciiKeepTheirCharacters) {
    TempDir dir;
    const std::string base = dir.Path();
    ASSERT_TRUE(::CreateDirectoryW(WideFromUtf8(base + "\\" + kUtf8Name).c_str(), nullptr));
    Touch(base + "\\" + kUtf8Name + ".KEL");

    FileDialog d(SystemUserRoots());
    d.SetFolder(base + "/" + kUtf8Name + "\\..\\"); // mixed, with a parent step and a tail
    EXPECT_EQ(d.Folder(), base);
    EXPECT_EQ(d.GetPath(), base + "\\");
    EXPECT_GE(d.Drive(), 0);

    auto rows = FolderRows(base);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (FolderRow{FolderRowKind::Up, "..", DirName(base)}));
    EXPECT_EQ(rows[2], (FolderRow{FolderRowKind::Sub, kUtf8Name, base + "\\" + kUtf8Name}));

    d.SetMode(FileDialogMode::Open);
    d.FormShow();
    ASSERT_EQ(d.Files().size(), 1u);
    EXPECT_EQ(d.Files()[0].shown, kUtf8Name);
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), base + "\\" + kUtf8Name + ".KEL");

    struct Typed {
        const char* name;
        std::string want;
    } typed[] = {
        {"CABLE", base + "\\CABLE.KEL"},
        {"sub/CABLE", base + "\\sub\\CABLE.KEL"},
        {"..\\CABLE.BMP", DirName(base) + "\\CABLE.BMP"},
        {"\\CABLE", base.substr(0, 2) + "\\CABLE.KEL"}, // the folder's drive, its root
    };
    for (const Typed& t : typed)
        EXPECT_EQ(BuildFileName(base, t.name, true), t.want) << t.name;
    // A name no 8-bit code page holds is kept whole.
    EXPECT_EQ(BuildFileName(base, kCyrillic, true), base + "\\" + kCyrillic + ".KEL");
}

} // namespace
} // namespace r470
