#include "display/label_source.h"
#include "display/recording_canvas.h"
#include "output/composition.h"
#include "output/details_table.h"
#include "output/output_commands.h"
#include "shell/messages.h"
#include "support/display_fixture.h"
#include "waveform/file_dialog.h"

#include <deque>

namespace r470 {
namespace {

// A printer whose pages all land on one recording canvas; each step can be made to fail.
struct FakePrinter : PrinterPort {
    std::optional<int> dialogAnswer = 1;
    std::string beginError, pageError, endError;
    int width = 4960;
    int dialogs = 0, begins = 0, newPages = 0, ends = 0, aborts = 0;
    PrinterPresence presence;
    std::function<std::string()> onEnd; // what ending the job does besides, and its error
    RecordingCanvas page;
    PrinterPresence Presence() const override { return presence; }
    std::optional<int> ShowPrintDialog() override {
        ++dialogs;
        return dialogAnswer;
    }
    std::string BeginJob() override {
        ++begins;
        return beginError;
    }
    Canvas& PageCanvas() override { return page; }
    int PhysicalPageWidth() const override { return width; }
    std::string NewPage() override {
        ++newPages;
        return pageError;
    }
    std::string EndJob() override {
        ++ends;
        return onEnd ? onEnd() : endError;
    }
    void AbortJob() override { ++aborts; }
    // Every page starts with the frame's font being set.
    std::size_t Pages() const { return page.Of(CanvasCall::Font).size(); }
};

struct FakePicture : PicturePort {
    WindowSize size{648, 489};
    bool canMake = true, clipboardWorks = true;
    std::vector<std::uint8_t> encoded = std::vector<std::uint8_t>(5, 'B');
    std::optional<RecordingCanvas> canvas;
    int begun = 0, ended = 0, onClipboard = 0;
    std::vector<PictureFormat> formats;
    WindowSize OuterSize() const override { return size; }
    Canvas* BeginPicture(WindowSize s) override {
        ++begun;
        EXPECT_EQ(s.width, size.width);
        EXPECT_EQ(s.height, size.height);
        if (!canMake)
            return nullptr;
        canvas.emplace();
        return &*canvas;
    }
    bool PictureToClipboard() override {
        ++onClipboard;
        return clipboardWorks;
    }
    std::vector<std::uint8_t> EncodePicture(PictureFormat f) override {
        formats.push_back(f);
        return encoded;
    }
    void EndPicture() override { ++ended; }
    // PDF pages are written, like a picture, through the writer they are given.
    std::size_t pdfPagesDrawn = 0;
    std::unique_ptr<PrinterPort> PdfPages(const std::string& path, FileWriter writer) override {
        auto pdf = std::make_unique<FakePrinter>();
        pdf->onEnd = [this, path, writer, p = pdf.get()] {
            pdfPagesDrawn = p->Pages();
            std::vector<std::uint8_t> bytes{'%', 'P', 'D', 'F'};
            return writer(path, [&](ByteSink& out) { return out.Write(bytes); }) == 0
                       ? std::string()
                       : std::string("Access denied");
        };
        return pdf;
    }
};

// A file dialog that wanders off to another folder before it answers, as a user would.
struct WanderingChooser : FileChooser {
    std::string folder = "/home/user/waves";
    std::string wanderTo = "/home/user/pictures";
    std::optional<std::string> answer;
    std::vector<std::string> proposed;
    std::vector<bool> completion;
    std::optional<std::string> ChooseOpen(const std::string&) override {
        ADD_FAILURE() << "no open dialog expected";
        return std::nullopt;
    }
    std::optional<std::string> ChooseSave(const std::string&, const std::string& p,
                                          bool complete) override {
        proposed.push_back(p);
        completion.push_back(complete);
        folder = wanderTo;
        return answer;
    }
    std::string WorkingFolder() const override { return folder; }
    void SetWorkingFolder(const std::string& f) override { folder = f; }
};

struct OutputTest : test::DisplayFixture {
    LabelBook labels;
    Display display2{session, canvas, labels}; // reports its labels to the book
    std::map<std::string, std::vector<std::uint8_t>> written;
    int writeError = 0;
    OutputCommands output{
        session, display2, prompts, labels,
        [this](const std::string& path, const std::function<int(ByteSink&)>& body) {
            if (writeError)
                return writeError;
            VectorSink sink;
            int e = body(sink);
            written[path] = sink.data;
            return e;
        }};

    void SetUp() override {
        DisplayFixture::SetUp();
        display2.SetSurface({648, 489, 140, 25, 648, 0});
        display2.SetDrawParam();
    }
    void LoadCable() {
        TraceSlot& s = Load(1, 100, 10, [](int i) { return 100 + i; });
        s.Path = "/data/cables/CABLE1.KEL";
        s.FileName = "/DATA/CABLES/CABLE1.KEL";
        s.data.notes.CableId = "Feeder 7";
        View(0, 1000);
        display2.state().ViewStartNs = 0;
        display2.state().ViewEndNs = display2.state().RangeNs = 1000;
        display2.state().Cursor1Ns = display2.state().Cursor2Ns = 300;
    }
    void ExpectScreenBack() {
        EXPECT_EQ(session.target, OutputTarget::Screen);
        EXPECT_EQ(&display2.canvas(), &canvas);
        EXPECT_EQ(display2.state().GraphLeft, 0);
        EXPECT_EQ(display2.state().GraphTop, 25) << "the screen layout again";
        EXPECT_EQ(display2.state().GraphRight, 648);
    }
    static std::vector<CanvasCall> TextsAt(const RecordingCanvas& c, int y) {
        std::vector<CanvasCall> out;
        for (const auto& t : c.Of(CanvasCall::Text))
            if (t.y1 == y)
                out.push_back(t);
        return out;
    }
};

TEST_F(OutputTest, PageLayoutFollowsThePhysicalPageWidth) {
    LoadCable();
    FakePrinter printer;
    ASSERT_TRUE(output.PrintPages(printer, 1));
    // The layout of the page is gone again; its frame and table show where it was.
    auto lines = printer.page.Of(CanvasCall::Line);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].x1, 329);
    EXPECT_EQ(lines[0].y1, 329);
    EXPECT_EQ(lines[0].x2, 4631);
    EXPECT_EQ(lines[1].y2, 2316) << "GraphBottom 2315, the frame one pixel below";
    // Rows of the table from one line below the graph, LineHeight apart.
    const int lh = RecordingCanvas::kTextHeight;
    auto row1 = TextsAt(printer.page, 2315 + lh);
    ASSERT_EQ(row1.size(), 4u);
    EXPECT_EQ(row1[0].x1, 330);
    EXPECT_EQ(row1[0].text, "Filename");
    EXPECT_EQ(row1[1].text, "/DATA/CABLES/CABLE1.KEL");
    EXPECT_EQ(row1[1].x1, 330 + 6 * 14) << "InfoCol2 after \"Pulse width   \"";
    auto row4 = TextsAt(printer.page, 2315 + 4 * lh);
    ASSERT_EQ(row4.size(), 4u);
    EXPECT_EQ(row4[2].text, "Cable ID");
    EXPECT_EQ(row4[2].x1, 330 + 6 * 14 + 6 * 13) << "InfoCol3";
    EXPECT_EQ(row4[3].text, "Feeder 7");
    EXPECT_EQ(row4[3].x1, 330 + 6 * 14 + 6 * 13 + 6 * 11) << "InfoCol4";
    EXPECT_EQ(TextsAt(printer.page, 2315 + 10 * lh).size(), 0u) << "nine rows only";
    ExpectScreenBack();
}

TEST_F(OutputTest, PictureLayoutFollowsTheWindowsOuterWidth) {
    LoadCable();
    FakePicture picture;
    ASSERT_TRUE(output.PrintToImage(picture));
    auto lines = picture.canvas->Of(CanvasCall::Line);
    ASSERT_GE(lines.size(), 4u);
    // Graph box 43..605 by 43..302, the frame one pixel outside it.
    EXPECT_EQ(lines[0].x1, 42);
    EXPECT_EQ(lines[0].y1, 42);
    EXPECT_EQ(lines[0].x2, 606);
    EXPECT_EQ(lines[1].y2, 303);
    EXPECT_EQ(lines[3].x2, 42);
    EXPECT_EQ(lines[3].y2, 42);
    EXPECT_TRUE(picture.canvas->Of(CanvasCall::Rect).empty()) << "a new picture is not cleared";
    bool traced = false;
    for (const auto& c : lines)
        traced |= c.colour == TraceColour(1) && c.x1 >= 43 && c.x2 <= 605 && c.y2 <= 302;
    EXPECT_TRUE(traced);
    ExpectScreenBack();
}

TEST_F(OutputTest, CopiesArePagesOfOneJob) {
    LoadCable();
    struct Case {
        int asked;
        std::size_t pages;
    };
    for (Case c : {Case{3, 3}, Case{1, 1}, Case{0, 1}, Case{-2, 1}}) {
        FakePrinter printer;
        printer.dialogAnswer = c.asked;
        output.MenuPrint(printer);
        EXPECT_EQ(printer.dialogs, 1);
        EXPECT_EQ(printer.begins, 1) << c.asked;
        EXPECT_EQ(printer.Pages(), c.pages) << c.asked;
        EXPECT_EQ(printer.newPages, static_cast<int>(c.pages) - 1) << "breaks between copies";
        EXPECT_EQ(printer.ends, 1);
        // The copies are the same page: every drawing call of the first repeats.
        const auto& calls = printer.page.calls;
        std::size_t per = calls.size() / c.pages;
        ASSERT_EQ(per * c.pages, calls.size());
        for (std::size_t i = per; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].text, calls[i % per].text);
            EXPECT_EQ(calls[i].x1, calls[i % per].x1);
            EXPECT_EQ(calls[i].y2, calls[i % per].y2);
        }
    }
    EXPECT_TRUE(prompts.boxes.empty());
    ExpectScreenBack();
}

TEST_F(OutputTest, NothingIsPrintedOrMadeWithNoWaveform) {
    FakePrinter printer;
    prompts.answers = {IdOk, IdOk, IdOk};
    output.MenuPrint(printer);
    EXPECT_EQ(printer.dialogs, 0);
    EXPECT_EQ(printer.begins, 0);
    FakePicture picture;
    WanderingChooser files;
    output.MenuToClip(picture);
    output.MenuToFile(picture, files);
    EXPECT_EQ(picture.begun, 0);
    EXPECT_EQ(picture.onClipboard, 0);
    EXPECT_TRUE(files.proposed.empty()) << "no dialog";
    EXPECT_TRUE(written.empty());
    ASSERT_EQ(prompts.boxes.size(), 3u);
    for (const auto& b : prompts.boxes) {
        EXPECT_EQ(b.text, "No traces loaded");
        EXPECT_EQ(b.caption, "Problem");
    }
}

TEST_F(OutputTest, PrintFailuresAreToldAndTheScreenIsBack) {
    LoadCable();
    {
        FakePrinter cancelled;
        cancelled.dialogAnswer = std::nullopt;
        output.MenuPrint(cancelled);
        EXPECT_EQ(cancelled.begins, 0);
        EXPECT_TRUE(prompts.boxes.empty()) << "a cancelled dialog says nothing";
    }
    struct Case {
        const char* what;
        std::string FakePrinter::*field;
        int copies;
        int aborts, ends;
    };
    for (Case c : {Case{"begin", &FakePrinter::beginError, 1, 0, 0},
                   Case{"page", &FakePrinter::pageError, 2, 1, 0},
                   Case{"end", &FakePrinter::endError, 1, 0, 1}}) {
        FakePrinter printer;
        printer.*c.field = "the printer is out of paper";
        printer.dialogAnswer = c.copies;
        prompts.boxes.clear();
        prompts.answers = {IdOk};
        output.MenuPrint(printer);
        ASSERT_EQ(prompts.boxes.size(), 1u) << c.what;
        EXPECT_EQ(prompts.boxes[0].text, "Cannot output to printer: the printer is out of paper");
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        EXPECT_EQ(printer.aborts, c.aborts) << c.what;
        EXPECT_EQ(printer.ends, c.ends) << c.what;
        ExpectScreenBack();
    }
}

TEST_F(OutputTest, DetailsTableRepeatsThePanelWithTwoColouredCells) {
    LoadCable();
    TraceSlot& b = Load(2, 100, 10, [](int) { return 50; });
    b.FileName = "/DATA/B.KEL";
    b.data.notes.Date = "01/02/03";
    // The difference of slots 1 and 2 is the current trace.
    session.set.DiffA = 1;
    session.set.DiffB = 2;
    TraceSlot& diff = session.set.Slot(kDiffSlot);
    diff.Loaded = true;
    diff.Shown = false;
    session.set.CurTrace = kDiffSlot;
    display2.TraceText(2, true); // leaves a date in the label the difference hides
    display2.TraceText(kDiffSlot, false);
    auto cells = DetailsTableCells(display2.state(), session.set, labels);
    ASSERT_EQ(cells.size(), 36u);
    EXPECT_EQ(cells[0].text, "File 1");
    EXPECT_EQ(cells[1].text, "/DATA/CABLES/CABLE1.KEL");
    EXPECT_EQ(cells[1].colour, TraceColour(1));
    EXPECT_EQ(cells[4].text, "File 2");
    EXPECT_EQ(cells[5].text, "/DATA/B.KEL");
    EXPECT_EQ(cells[5].colour, TraceColour(2));
    EXPECT_EQ(cells[7].text, "") << "a hidden label is not printed";
    EXPECT_EQ(cells[13].text, "Difference");
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 1 && i != 5) {
            EXPECT_EQ(cells[i].colour, kBlack) << i;
        }
    }

    // An ordinary waveform: only its file name is in colour.
    session.set.CurTrace = 2;
    display2.TraceText(2, true);
    cells = DetailsTableCells(display2.state(), session.set, labels);
    EXPECT_EQ(cells[1].colour, TraceColour(2));
    EXPECT_EQ(cells[5].text, "0");
    EXPECT_EQ(cells[5].colour, kBlack);
    EXPECT_EQ(cells[7].text, "01/02/03");

    // Drawn: the font colour is black again after each coloured cell.
    RecordingCanvas page;
    session.set.CurTrace = kDiffSlot;
    DrawDetailsTable(page, display2.state(), session.set, labels);
    auto texts = page.Of(CanvasCall::Text);
    ASSERT_EQ(texts.size(), 36u);
    EXPECT_EQ(texts[1].colour, TraceColour(1));
    EXPECT_EQ(texts[2].colour, kBlack);
    EXPECT_EQ(texts[5].colour, TraceColour(2));
    EXPECT_EQ(texts[6].colour, kBlack);
    EXPECT_EQ(page.FontColour(), kBlack);
}

TEST(PictureNames, PresetAndChosenNames) {
    WaveformSet set;
    struct Preset {
        const char* path;
        const char* offered;
    };
    for (Preset p : {Preset{"/data/CABLE1.KEL", "CABLE1.BMP"}, Preset{"cable1.kel", "cable1.BMP"},
                     Preset{"/home/u/site.2/a.b.KEL", "a.BMP"}, Preset{"/x.y/TRACE", "TRACE.BMP"},
                     // Windows paths on either system: a dot in a folder, a drive root, a share.
                     Preset{"C:\\Users\\john.smith\\Documents\\FEEDER1.KEL", "FEEDER1.BMP"},
                     Preset{"D:CABLE2.KEL", "CABLE2.BMP"},
                     Preset{"\\\\srv.lan\\share\\x.y\\PE700.KEL", "PE700.BMP"}}) {
        set.Slot(1).Path = p.path;
        set.CurTrace = 1;
        EXPECT_EQ(PicturePresetName(set), p.offered) << p.path;
    }
    set.CurTrace = kDiffSlot;
    EXPECT_EQ(PicturePresetName(set), "DIFF.BMP");

    struct Chosen {
        const char* typed;
        const char* path;
        PictureFormat format;
    };
    for (Chosen c :
         {Chosen{"/tmp/TRACE2", "/tmp/TRACE2.BMP", PictureFormat::Bmp},
          Chosen{"/tmp/pics.old/TRACE2", "/tmp/pics.old/TRACE2.BMP", PictureFormat::Bmp},
          Chosen{"/tmp/a.png", "/tmp/a.png", PictureFormat::Png},
          Chosen{"/tmp/A.PNG", "/tmp/A.PNG", PictureFormat::Png},
          Chosen{"/tmp/page.Pdf", "/tmp/page.Pdf", PictureFormat::Pdf},
          Chosen{"/tmp/a.jpg", "/tmp/a.jpg", PictureFormat::None},
          Chosen{"/tmp/a.", "/tmp/a.", PictureFormat::None},
          Chosen{"C:\\john.smith\\T2", "C:\\john.smith\\T2.BMP", PictureFormat::Bmp},
          Chosen{"C:\\T2.png", "C:\\T2.png", PictureFormat::Png},
          Chosen{"\\\\srv\\pics.old\\T2", "\\\\srv\\pics.old\\T2.BMP", PictureFormat::Bmp}}) {
        EXPECT_EQ(PicturePath(c.typed), c.path) << c.typed;
        EXPECT_EQ(PictureFormatForChosenName(PicturePath(c.typed)), c.format) << c.typed;
    }
}

TEST_F(OutputTest, ToFileWritesTheChosenNameAndPutsTheFolderBack) {
    LoadCable();
    FakePicture picture;
    WanderingChooser files;
    files.answer = "/home/user/pictures/TRACE2";
    output.MenuToFile(picture, files);
    ASSERT_EQ(files.proposed.size(), 1u);
    EXPECT_EQ(files.proposed[0], "CABLE1.BMP");
    EXPECT_FALSE(files.completion[0]) << "no waveform extension for pictures";
    EXPECT_EQ(files.folder, "/home/user/waves");
    ASSERT_EQ(written.count("/home/user/pictures/TRACE2.BMP"), 1u);
    EXPECT_EQ(written["/home/user/pictures/TRACE2.BMP"], picture.encoded);
    EXPECT_EQ(picture.formats, std::vector<PictureFormat>{PictureFormat::Bmp});
    EXPECT_EQ(picture.ended, 1);

    files.answer = std::nullopt; // Cancel
    output.MenuToFile(picture, files);
    EXPECT_EQ(files.folder, "/home/user/waves");
    EXPECT_EQ(written.size(), 1u);
    EXPECT_EQ(picture.begun, 1) << "no picture after Cancel";

    files.answer = "/home/user/pictures/shot.png";
    output.MenuToFile(picture, files);
    EXPECT_EQ(picture.formats.back(), PictureFormat::Png);
    EXPECT_EQ(written.count("/home/user/pictures/shot.png"), 1u);
    EXPECT_TRUE(prompts.boxes.empty());
    ExpectScreenBack();
}

TEST_F(OutputTest, ToFileWritesTheKindTheNameAsksForAndRefusesOthers) {
    LoadCable();
    struct Case {
        const char* typed;
        int writeError;
        std::vector<PictureFormat> encoded; // bitmaps encoded
        std::size_t pdfPages;
        const char* told; // "" for nothing
    };
    for (const Case& c :
         {Case{"/p/page.pdf", 0, {}, 1, ""}, Case{"/p/shot.PNG", 0, {PictureFormat::Png}, 0, ""},
          Case{"/p/page.pdf", 5, {}, 1, "Cannot save bitmap file: Access denied"},
          Case{"/p/a.jpg",
               0,
               {},
               0,
               "Cannot save bitmap file: the name must end in .BMP, .PNG or .PDF"}}) {
        FakePicture picture;
        WanderingChooser files;
        files.answer = c.typed;
        writeError = c.writeError;
        written.clear();
        prompts.boxes.clear();
        prompts.answers = {IdOk};
        output.MenuToFile(picture, files);
        EXPECT_EQ(picture.formats, c.encoded) << c.typed;
        EXPECT_EQ(picture.pdfPagesDrawn, c.pdfPages) << c.typed;
        EXPECT_EQ(written.count(c.typed), *c.told ? 0u : 1u) << c.typed;
        ASSERT_EQ(prompts.boxes.size(), *c.told ? 1u : 0u) << c.typed;
        if (*c.told) {
            EXPECT_EQ(prompts.boxes[0].text, c.told);
        }
        ExpectScreenBack();
    }
    writeError = 0;
}

TEST_F(OutputTest, PrintWithoutAPrinterSaysSoAndTheWaysOut) {
    LoadCable();
    struct Case {
        PrinterPresence presence;
        const char* told; // a piece of the box after "No printers defined. "; "" for none
        int dialogs;
    };
    for (const Case& c :
         {Case{{true, false}, "", 1}, Case{{false, true}, "save the page as a PDF", 1},
          Case{{false, false}, "\"Microsoft Print to PDF\"", 0}}) {
        FakePrinter printer;
        printer.presence = c.presence;
        printer.dialogAnswer = std::nullopt;
        prompts.boxes.clear();
        prompts.answers = {IdOk};
        output.MenuPrint(printer);
        EXPECT_EQ(printer.dialogs, c.dialogs) << c.told;
        ASSERT_EQ(prompts.boxes.size(), *c.told ? 1u : 0u) << c.told;
        if (*c.told) {
            const std::string& text = prompts.boxes[0].text;
            EXPECT_EQ(text.rfind("No printers defined. ", 0), 0u) << text;
            EXPECT_NE(text.find(c.told), std::string::npos) << text;
            EXPECT_NE(text.find("Export > To file"), std::string::npos) << text;
        }
    }
}

TEST_F(OutputTest, PictureFailuresAreToldInTheirOwnWords) {
    LoadCable();
    struct Case {
        const char* what;
        bool canMake, clipboardWorks, encodes;
        int writeError;
        bool toClipboard;
        const char* message;
    };
    for (Case c : {Case{"clipboard refused", true, false, true, 0, true, "Cannot open clipboard"},
                   Case{"no picture", false, true, true, 0, true, "Cannot open clipboard"},
                   Case{"write failed", true, true, true, 5, false, "Cannot save bitmap file"},
                   Case{"no picture", false, true, true, 0, false, "Cannot save bitmap file"},
                   Case{"not encoded", true, true, false, 0, false, "Cannot save bitmap file"}}) {
        FakePicture picture;
        picture.canMake = c.canMake;
        picture.clipboardWorks = c.clipboardWorks;
        if (!c.encodes)
            picture.encoded.clear();
        writeError = c.writeError;
        written.clear();
        prompts.boxes.clear();
        prompts.answers = {IdOk};
        WanderingChooser files;
        files.answer = "/tmp/out.bmp";
        if (c.toClipboard)
            output.MenuToClip(picture);
        else
            output.MenuToFile(picture, files);
        ASSERT_EQ(prompts.boxes.size(), 1u) << c.what;
        EXPECT_EQ(prompts.boxes[0].text, c.message) << c.what;
        EXPECT_EQ(prompts.boxes[0].caption, "Problem");
        EXPECT_TRUE(written.empty()) << c.what;
        EXPECT_EQ(picture.ended, 1) << "the picture is released: " << c.what;
        ExpectScreenBack();
    }
    // And when it works, nothing is said.
    writeError = 0;
    FakePicture picture;
    prompts.boxes.clear();
    output.MenuToClip(picture);
    EXPECT_EQ(picture.onClipboard, 1);
    EXPECT_TRUE(prompts.boxes.empty());
}

} // namespace
} // namespace r470
