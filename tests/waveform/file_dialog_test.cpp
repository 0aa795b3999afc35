#include "waveform/file_dialog.h"

#include "support/temp_dir.h"
#include "waveform/trace_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

using test::TempDir;
using test::WriteBytes;
using test::WriteText;

const std::string kNotValid = "File is not a valid waveform file";

TraceData Noted(const std::string& date, const std::string& cable) {
    TraceData t;
    t.header.SampleCount = 4;
    t.header.MaxSample = 255;
    t.notes.Date = date;
    t.notes.Time = "12:34";
    t.notes.CableId = cable;
    t.notes.Comments = {"first", "", "third", "fourth", "fifth"};
    t.notes.MoreComments = "not shown";
    return t;
}

std::vector<std::uint8_t> Bytes(const TraceData& t) {
    VectorSink sink;
    EXPECT_EQ(WriteTrace(sink, t), 0);
    return sink.data;
}

FilePreview PreviewOf(const std::vector<std::uint8_t>& bytes) {
    MemorySource src(bytes);
    return ReadPreview(src);
}

void MakeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}

// A folder with three waveform files in mixed letter case and things that must not be
// listed: another extension, a longer one, a folder that looks like a waveform file, a
// name that is only the extension.
void FillMixedFolder(const TempDir& dir) {
    WriteBytes(dir.Path("A1.KEL"), Bytes(Noted("01/02/03", "A1 CABLE")));
    WriteBytes(dir.Path("b2.kel"), Bytes(Noted("04/05/06", "B2 CABLE")));
    WriteBytes(dir.Path("a0.Kel"), Bytes(Noted("07/08/09", "A0 CABLE")));
    WriteText(dir.Path("NOTES.TXT"), "notes");
    WriteText(dir.Path("C3.KELX"), "x");
    WriteText(dir.Path(".KEL"), "x");
    WriteText(dir.Path("KEL"), "x");
    MakeFolder(dir.Path("D.KEL"));
}

TEST(WaveformFileList, KelFilesInAnyCaseSortedIgnoringCaseShownWithoutExtension) {
    TempDir dir;
    FillMixedFolder(dir);
    std::vector<WaveformFileEntry> want = {{"a0", "a0.Kel"}, {"A1", "A1.KEL"}, {"b2", "b2.kel"}};
    EXPECT_EQ(ListWaveformFiles(dir.Path()), want);

    EXPECT_TRUE(ListWaveformFiles(dir.Path("D.KEL")).empty());
    EXPECT_TRUE(ListWaveformFiles(dir.Path("missing")).empty());
}

TEST(WaveformFileList, NonAsciiNamesAreShownAsTheyAreAndOpenedByTheirRealName) {
    TempDir dir;
    WriteBytes(dir.Path("Kab\xC3\xA9l.kel"), Bytes(Noted("1", "C")));
    auto files = ListWaveformFiles(dir.Path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].shown, "Kab\xC3\xA9l");
    EXPECT_EQ(files[0].real, "Kab\xC3\xA9l.kel");

    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.FormShow();
    EXPECT_EQ(d.NameText(), "Kab\xC3\xA9l.kel");
    EXPECT_EQ(d.Preview().date, "1");
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("Kab\xC3\xA9l.kel"));
}

TEST(FilePreviewReading, GoodFileShowsDateTimeCableAndFiveCommentLines) {
    FilePreview p = PreviewOf(Bytes(Noted("01/02/03", "FEEDER 7")));
    EXPECT_EQ(p.date, "01/02/03");
    EXPECT_EQ(p.time, "12:34");
    EXPECT_EQ(p.cableId, "FEEDER 7");
    std::array<std::string, 5> comments = {"first", "", "third", "fourth", "fifth"};
    EXPECT_EQ(p.comments, comments);

    // The version plays no part in the preview.
    TraceData old = Noted("OLD", "V1");
    old.header.FileVersion = 1;
    EXPECT_EQ(PreviewOf(Bytes(old)).date, "OLD");

    // A file that ends right after its samples is valid, with nothing to show.
    auto bytes = Bytes(Noted("x", "y"));
    bytes.resize(kHeaderSize + 4);
    EXPECT_EQ(PreviewOf(bytes), FilePreview{});
}

TEST(FilePreviewReading, BadShortAndCutFilesShowOnlyNotValid) {
    FilePreview notValid;
    notValid.date = kNotValid;

    auto good = Bytes(Noted("01/02/03", "C"));

    auto badSignature = good;
    badSignature[3] = 'X';
    EXPECT_EQ(PreviewOf(badSignature), notValid);

    auto shortHeader = good;
    shortHeader.resize(kHeaderSize - 1);
    EXPECT_EQ(PreviewOf(shortHeader), notValid);
    EXPECT_EQ(PreviewOf({}), notValid);

    auto cutInSamples = good;
    cutInSamples.resize(kHeaderSize + 2);
    EXPECT_EQ(PreviewOf(cutInSamples), notValid);

    // More samples than the 2048-byte scratch buffer holds, all of them present.
    auto tooMany = good;
    tooMany.resize(kHeaderSize);
    tooMany[21] = 0xA0; // SampleCount 4000
    tooMany[22] = 0x0F;
    tooMany.insert(tooMany.end(), 4000, 0x55);
    auto notes = Bytes(Noted("01/02/03", "C"));
    tooMany.insert(tooMany.end(), notes.begin() + kHeaderSize + 4, notes.end());
    EXPECT_EQ(PreviewOf(tooMany), notValid);
}

TEST(FilePreviewReading, OverlongTextsAreCutToTheirFieldsWithoutSpillingIntoTheNext) {
    TraceData t = Noted(std::string(15, 'D'), std::string(40, 'C'));
    t.notes.Time = std::string(12, 'T');
    t.notes.Comments[0] = std::string(70, 'M');
    FilePreview p = PreviewOf(Bytes(t));
    EXPECT_EQ(p.date, std::string(10, 'D'));
    EXPECT_EQ(p.time, std::string(10, 'T'));
    EXPECT_EQ(p.cableId, std::string(30, 'C'));
    EXPECT_EQ(p.comments[0], std::string(50, 'M'));
    EXPECT_EQ(p.comments[1], "");
    EXPECT_EQ(p.comments[2], "third");
    EXPECT_EQ(p.comments[4], "fifth");
}

TEST(FilePreviewReading, FileThatCannotBeOpenedLeavesThePreviewEmpty) {
    TempDir dir;
    EXPECT_EQ(ReadPreviewFile(dir.Path("none.KEL")), FilePreview{});
    EXPECT_EQ(ReadPreviewFile(dir.Path()), FilePreview{});
    WriteBytes(dir.Path("ok.KEL"), Bytes(Noted("D", "C")));
    EXPECT_EQ(ReadPreviewFile(dir.Path("ok.KEL")).cableId, "C");
}

TEST(FileNameBuilding, TypedNamesGoUnderTheFolderAndGetTheExtensionWhenTheyHaveNone) {
    TempDir dir;
    const std::string f = dir.Path();
    EXPECT_EQ(BuildFileName(f, "CABLE", true), f + "/CABLE.KEL");
    EXPECT_EQ(BuildFileName(f, "CABLE.DAT", true), f + "/CABLE.DAT");
    EXPECT_EQ(BuildFileName(f, "CABLE", false), f + "/CABLE");
    // A path is not put under the folder; a relative one is read from it.
    EXPECT_EQ(BuildFileName(f, "/elsewhere/CABLE", true), "/elsewhere/CABLE.KEL");
    EXPECT_EQ(BuildFileName(f + "/sub", "../CABLE", true), f + "/CABLE.KEL");
    EXPECT_EQ(BuildFileName(f, "sub/CABLE", true), f + "/sub/CABLE.KEL");
    // A typed folder name is no file name to complete.
    EXPECT_EQ(BuildFileName(f, "sub/", true), f + "/sub/");
}

TEST(FileNameBuilding, OnlyTheTypedNamesOwnPartDecidesAboutTheExtension) {
    TempDir dir;
    const std::string dotted = dir.Path("my.data");
    MakeFolder(dotted);
    EXPECT_EQ(BuildFileName(dotted, "CABLE", true), dotted + "/CABLE.KEL");
    EXPECT_EQ(BuildFileName(dir.Path(), "my.data/CABLE", true), dotted + "/CABLE.KEL");
    EXPECT_EQ(BuildFileName(dotted, "CABLE.BMP", true), dotted + "/CABLE.BMP");

    FileDialog d({"/"});
    d.SetFolder(dotted);
    d.SetMode(FileDialogMode::Save);
    d.SetNameText("CABLE");
    d.FormShow();
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dotted + "/CABLE.KEL");
}

TEST(FileDialogSave, ANameOutsideAsciiIsProposedSelectedAndWrittenAsItIs) {
    TempDir dir;
    WriteText(dir.Path("K\xC3\x84"
                       "BEL.KEL"),
              "x"); // "KÄBEL.KEL" in UTF-8
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.SetMode(FileDialogMode::Save);
    d.SetNameText("K\xC3\x84"
                  "BEL.KEL"); // what "Save as" proposes
    d.FormShow();
    EXPECT_EQ(d.Files()[0].shown, "K\xC3\x84"
                                  "BEL");
    ASSERT_EQ(d.Selected(), 0) << "the file is selected in the list";
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("K\xC3\x84"
                                       "BEL.KEL"))
        << "the real file, not a new one";
    // Typed names are written as typed, also those no 8-bit code page holds: "ÖL", "Кабель".
    for (std::string typed : {"\xC3\x96L", "\xD0\x9A\xD0\xB0\xD0\xB1\xD0\xB5\xD0\xBB\xD1\x8C"}) {
        d.SetNameText(typed);
        ASSERT_TRUE(d.OkClick());
        EXPECT_EQ(d.ResultPath(), dir.Path(typed + ".KEL"));
    }
}

TEST(FileNameBuilding, NameDifferingFromOneExistingFileInLetterCaseOnlyNamesThatFile) {
    TempDir dir;
    const std::string f = dir.Path();
    WriteText(dir.Path("b2.kel"), "x");
    EXPECT_EQ(BuildFileName(f, "b2", true), f + "/b2.kel");
    EXPECT_EQ(BuildFileName(f, "B2.KEL", true), f + "/b2.kel");
    EXPECT_EQ(BuildFileName(f, "b3", true), f + "/b3.KEL");
    // Two candidates: nothing to choose between, the name stays as typed.
    WriteText(dir.Path("B2.kel"), "x");
    EXPECT_EQ(BuildFileName(f, "b2.KEL", true), f + "/b2.KEL");
    // A folder is no match.
    MakeFolder(dir.Path("Sub.KEL"));
    EXPECT_EQ(BuildFileName(f, "sub", true), f + "/sub.KEL");
}

TEST(FileDialogOpen, ListsSelectsFirstPreviewsItAndFollowsClicks) {
    TempDir dir;
    FillMixedFolder(dir);
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.SetMode(FileDialogMode::Open);
    d.SetNameText("leftover");
    d.FormShow();

    EXPECT_EQ(d.Caption(), "Open file");
    EXPECT_TRUE(d.PreviewShown());
    EXPECT_EQ(d.ClientHeight(), 387);
    ASSERT_EQ(d.Files().size(), 3u);
    EXPECT_EQ(d.Selected(), 0);
    EXPECT_TRUE(d.OkEnabled());
    EXPECT_EQ(d.NameText(), "a0.Kel");
    EXPECT_EQ(d.GetName(), "a0.Kel");
    EXPECT_EQ(d.GetPath(), dir.Path() + "/");
    EXPECT_EQ(d.Preview().cableId, "A0 CABLE");

    d.FilesClick(2);
    EXPECT_EQ(d.NameText(), "b2.kel");
    EXPECT_EQ(d.Preview().date, "04/05/06");
    EXPECT_EQ(d.Preview().comments[2], "third");
    d.FilesClick(7); // no such row: nothing changes
    EXPECT_EQ(d.Selected(), 2);

    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("b2.kel"));

    ASSERT_TRUE(d.FilesDblClick(1));
    EXPECT_EQ(d.ResultPath(), dir.Path("A1.KEL"));

    // A typed name wins over the selection.
    d.SetNameText("typed");
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("typed.KEL"));
}

TEST(FileDialogOpen, APickedFileIsReturnedByItsOwnNameWhateverCharactersItHolds) {
    TempDir dir;
    WriteBytes(dir.Path("CABLE,1.kel"), Bytes(Noted("C1", "COMMA")));
    WriteBytes(dir.Path("CABLE.KEL"), Bytes(Noted("C0", "PLAIN")));
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.FormShow();
    ASSERT_EQ(d.Files().size(), 2u);
    EXPECT_EQ(d.Files()[1].shown, "CABLE,1");
    d.FilesClick(1);
    EXPECT_EQ(d.NameText(), "CABLE,1.kel");
    EXPECT_EQ(d.Preview().cableId, "COMMA");
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("CABLE,1.kel"));
}

TEST(FileDialogOpen, NotValidFileShowsTheMessageAndAnEmptyFolderDisablesOk) {
    TempDir dir;
    WriteText(dir.Path("JUNK.KEL"), "not a waveform");
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.FormShow();
    EXPECT_EQ(d.Preview().date, kNotValid);
    EXPECT_EQ(d.Preview().cableId, "");

    TempDir empty;
    d.SetFolder(empty.Path());
    d.FormShow();
    EXPECT_TRUE(d.Files().empty());
    EXPECT_FALSE(d.OkEnabled());
    EXPECT_EQ(d.NameText(), "");
    EXPECT_EQ(d.Preview(), FilePreview{});
    d.SetNameText("typed");
    EXPECT_FALSE(d.OkClick());
    EXPECT_FALSE(d.FilesDblClick(0));
    EXPECT_EQ(d.ResultPath(), "");
}

TEST(FileDialogSave, PreselectsTheProposedNameKeepsTheFieldAndCompletesTypedNames) {
    TempDir dir;
    FillMixedFolder(dir);
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.SetMode(FileDialogMode::Save);
    d.SetNameText("B2.KEL");
    d.FormShow();

    EXPECT_EQ(d.Caption(), "Save file as");
    EXPECT_FALSE(d.PreviewShown());
    EXPECT_EQ(d.ClientHeight(), 387 - 168);
    EXPECT_EQ(d.Selected(), 2);
    EXPECT_EQ(d.NameText(), "B2.KEL");
    EXPECT_TRUE(d.OkEnabled());
    // The existing file in other letter case is the one meant.
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("b2.kel"));

    d.SetNameText("CABLE1.BMP");
    d.FormShow();
    EXPECT_EQ(d.Selected(), -1);
    EXPECT_EQ(d.NameText(), "CABLE1.BMP");

    d.SetNameText("NEW");
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("NEW.KEL"));

    d.SetCompleteExtension(false);
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("NEW"));

    d.SetNameText("  ");
    EXPECT_FALSE(d.OkClick());
}

TEST(FileDialogSave, EmptyFolderStillAcceptsATypedName) {
    TempDir dir;
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.SetMode(FileDialogMode::Save);
    d.SetNameText("");
    d.FormShow();
    EXPECT_TRUE(d.OkEnabled());
    EXPECT_EQ(d.Selected(), -1);
    d.SetNameText("FIRST");
    ASSERT_TRUE(d.OkClick());
    EXPECT_EQ(d.ResultPath(), dir.Path("FIRST.KEL"));
}

TEST(FolderBrowsing, RowsShowTheFolderItsParentAndSortedVisibleSubfolders) {
    TempDir dir;
    MakeFolder(dir.Path("beta"));
    MakeFolder(dir.Path("Alpha"));
    MakeFolder(dir.Path(".hidden"));
    WriteText(dir.Path("x.KEL"), "x");
    std::string name = std::filesystem::path(dir.Path()).filename().string();
    std::vector<FolderRow> want = {{FolderRowKind::Current, name, dir.Path()},
                                   {FolderRowKind::Up, "..", DirName(dir.Path())},
                                   {FolderRowKind::Sub, "Alpha", dir.Path("Alpha")},
                                   {FolderRowKind::Sub, "beta", dir.Path("beta")}};
    EXPECT_EQ(FolderRows(dir.Path()), want);

    auto root = FolderRows("/");
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root[0], (FolderRow{FolderRowKind::Current, "/", "/"}));
    for (const auto& r : root)
        EXPECT_NE(r.kind, FolderRowKind::Up);
}

TEST(FolderBrowsing, ChoosingAFolderRelistsFilesAndAGoneFolderChangesNothing) {
    TempDir dir;
    MakeFolder(dir.Path("Alpha"));
    MakeFolder(dir.Path("gone"));
    WriteBytes(dir.Path("TOP.KEL"), Bytes(Noted("T", "TOP")));
    WriteBytes(dir.Path("Alpha/IN.KEL"), Bytes(Noted("I", "IN")));
    FileDialog d({"/"});
    d.SetFolder(dir.Path());
    d.FormShow();
    ASSERT_EQ(d.Folders().size(), 4u);

    ASSERT_TRUE(d.FolderChoose(2));
    EXPECT_EQ(d.Folder(), dir.Path("Alpha"));
    ASSERT_EQ(d.Files().size(), 1u);
    EXPECT_EQ(d.Files()[0].shown, "IN");
    EXPECT_EQ(d.NameText(), "IN.KEL");
    EXPECT_EQ(d.Preview().cableId, "IN");

    ASSERT_TRUE(d.FolderChoose(1)); // ".."
    EXPECT_EQ(d.Folder(), dir.Path());
    EXPECT_EQ(d.Files()[0].shown, "TOP");

    std::filesystem::remove(dir.Path("gone"));
    EXPECT_FALSE(d.FolderChoose(3));
    EXPECT_EQ(d.Folder(), dir.Path());
    EXPECT_FALSE(d.FolderChoose(99));
}

TEST(FolderBrowsing, MissingStartFolderFallsBackToItsNearestExistingParent) {
    TempDir dir;
    FileDialog d({"/"});
    d.SetFolder(dir.Path("none/deeper"));
    EXPECT_EQ(d.Folder(), dir.Path());
    d.SetFolder(dir.Path() + "/./");
    EXPECT_EQ(d.Folder(), dir.Path());
    // An empty folder keeps the one in use.
    d.SetFolder("");
    EXPECT_EQ(d.Folder(), dir.Path());
}

TEST(DriveSelector, RootsAreSlashHomeAndMountedVolumes) {
    std::string mounts = "/dev/vda / ext4 rw 0 0\n"
                         "proc /proc proc rw 0 0\n"
                         "/dev/sdc1 /mnt/backup ext4 rw 0 0\n"
                         "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
                         "/dev/sdd1 /run/media/ann/CARD vfat rw 0 0\n"
                         "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                         "/dev/sde1 /mediaeval ext4 rw 0 0\n"
                         "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
                         "broken-line\n";
    std::vector<std::string> want = {"/", "/home/ann", "/media/ann/USB STICK", "/mnt/backup",
                                     "/run/media/ann/CARD"};
    auto roots = UserRoots("/home/ann/", mounts);
    EXPECT_EQ(roots, want);
    EXPECT_EQ(UserRoots("", ""), std::vector<std::string>{"/"});
    EXPECT_EQ(UserRoots("/", ""), std::vector<std::string>{"/"});

    EXPECT_EQ(RootIndexOf(roots, "/home/ann"), 1);
    EXPECT_EQ(RootIndexOf(roots, "/home/ann/data"), 1);
    EXPECT_EQ(RootIndexOf(roots, "/home/annex"), 0);
    EXPECT_EQ(RootIndexOf(roots, "/media/ann/USB STICK/x"), 2);
    EXPECT_EQ(RootIndexOf({"/home/ann"}, "/tmp"), -1);
}

TEST(DriveSelector, ChoosingADriveMovesThereAndAnUnreadyOneChangesNothing) {
    TempDir dir;
    MakeFolder(dir.Path("vol"));
    WriteBytes(dir.Path("vol/ON.KEL"), Bytes(Noted("V", "VOL")));
    FileDialog d({"/", dir.Path(), dir.Path("vol"), dir.Path("unplugged")});
    d.SetFolder(dir.Path());
    d.FormShow();
    EXPECT_EQ(d.Drive(), 1);

    EXPECT_FALSE(d.DriveChoose(3));
    EXPECT_EQ(d.Drive(), 1);
    EXPECT_EQ(d.Folder(), dir.Path());

    ASSERT_TRUE(d.DriveChoose(2));
    EXPECT_EQ(d.Folder(), dir.Path("vol"));
    EXPECT_EQ(d.Drive(), 2);
    EXPECT_EQ(d.NameText(), "ON.KEL");

    // Leaving a volume by ".." moves the selector to the place that holds the folder.
    ASSERT_TRUE(d.FolderChoose(1));
    EXPECT_EQ(d.Drive(), 1);
    EXPECT_FALSE(d.DriveChoose(-1));
}

} // namespace
} // namespace r470
