// Printing and pictures on real Qt devices: PDF pages through the print dialog, pictures
// on the clipboard and in files through the waveform file dialog.
#include "display/files_panel_qt.h"
#include "display/label_source.h"
#include "display/recording_canvas.h"
#include "display/set_commands.h"
#include "output/picture_qt.h"
#include "output/printer_qt.h"
#include "support/pdf_pages.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_files_form.h"
#include "waveform/files_form.h"

#include <QClipboard>
#include <QPageSize>
#include <QPrintDialog>
#include <QtTest>
#include <filesystem>

using namespace r470;

namespace {

QPageLayout A4() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

// Two waveforms loaded as the window loads them; the labels kept for the table.
struct Loaded {
    Workspace session;
    test::ScriptedPrompts prompts;
    LabelBook labels;
    RecordingCanvas screen;
    r470::Display display{session, screen, labels};
    SetCommands commands{session, display, labels, prompts};
    OutputCommands output{session, display, prompts, labels};
    Loaded() {
        session.DisplayDiel = 660;
        display.SetSurface({640, 440, 140, 25, 648, 0});
        display.SetDrawParam();
        for (const char* f : {"/FEEDER1.KEL", "/FEEDER2.KEL"})
            if (commands.LoadFile(std::string(R470_SAMPLES) + f) != LoadOk)
                qFatal("sample missing");
    }
};

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

class OutputQtTest : public QObject {
    Q_OBJECT
  private slots:
    void copiesArePagesOfOnePdf() {
        Loaded w;
        test::TempDir dir;
        struct Case {
            int copies;
            std::size_t pages;
        };
        for (Case c : {Case{3, 3}, Case{0, 1}, Case{1, 1}}) {
            // Appended piece by piece: GCC 12's -Wrestrict misreads "p" + std::string.
            std::string name = "p";
            name += std::to_string(c.copies);
            name += ".pdf";
            std::string path = dir.Path(name);
            PdfPagePort page(path, A4());
            QCOMPARE(page.PhysicalPageWidth(), 4960);
            QVERIFY(w.output.PrintPages(page, c.copies));
            QCOMPARE(test::PdfPages(test::ReadBytes(path)), c.pages);
        }
        QCOMPARE(w.session.target, OutputTarget::Screen);
        QCOMPARE(&w.display.canvas(), static_cast<Canvas*>(&w.screen));
    }

    void anUnwritablePdfIsToldAndLeavesNothing() {
        Loaded w;
        test::TempDir dir;
        PdfPagePort page(dir.Path("missing/p.pdf"), A4());
        w.prompts.answers = {IdOk};
        QVERIFY(!w.output.PrintPages(page, 1));
        QCOMPARE(w.prompts.boxes.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(w.prompts.boxes[0].text)
                    .startsWith("Cannot output to printer: "));
        QCOMPARE(w.prompts.boxes[0].caption, std::string("Problem"));
        QVERIFY(dir.Names().empty());
        QCOMPARE(w.session.target, OutputTarget::Screen);
    }

#ifndef _WIN32 // Windows' print dialog is the system's own: no PDF printer for a test to drive
    void thePrintDialogPrintsTheCopiesToAPdfFile() {
        Loaded w;
        test::TempDir dir;
        QtPrinterPort printer;
        std::string path = dir.Path("dialog.pdf");
        printer.Printer().setOutputFormat(QPrinter::PdfFormat);
        printer.Printer().setOutputFileName(QString::fromStdString(path));
        printer.Printer().setCopyCount(3);
        test::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        w.output.MenuPrint(printer);
        QCOMPARE(test::PdfPages(test::ReadBytes(path)), std::size_t(3));
        QCOMPARE(printer.Printer().copyCount(), 1);
        QVERIFY(w.prompts.boxes.empty());

        std::filesystem::remove(path);
        test::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
        w.output.MenuPrint(printer);
        QVERIFY(!std::filesystem::exists(path));
        QVERIFY(w.prompts.boxes.empty());
    }

#endif
    void pictureLayoutAndRepeatability() {
        Loaded w;
        QtPicturePort port([] { return WindowSize{648, 489}; });
        QVERIFY(w.output.PrintToImage(port));
        auto first = port.EncodePicture(PictureFormat::Png);
        port.EndPicture();
        QVERIFY(w.output.PrintToImage(port));
        auto bmp = port.EncodePicture(PictureFormat::Bmp);
        auto second = port.EncodePicture(PictureFormat::Png);
        port.EndPicture();
        QVERIFY(!first.empty());
        QVERIFY(first == second);

        QImage image = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
        QCOMPARE(image.size(), QSize(648, 489));
        QCOMPARE(bmp[0], std::uint8_t('B'));
        QCOMPARE(bmp[1], std::uint8_t('M'));
        // Graph box 43..605 by 43..302, the frame one pixel outside it.
        for (auto [x, y] : {std::pair{42, 42}, {606, 42}, {606, 303}, {42, 303}, {300, 42}})
            QCOMPARE(At(image, x, y), 0u);
        QCOMPARE(At(image, 43, 43), 0xFFFFFFu);
        QCOMPARE(At(image, 41, 200), 0xFFFFFFu);
        QCOMPARE(At(image, 607, 200), 0xFFFFFFu);
        // The current waveform's file name in its colour (slot 2, green) in the first row.
        int green = 0;
        for (int y = 304; y < 325; ++y)
            for (int x = 43; x < 605; ++x)
                green += At(image, x, y) == 0x008000u;
        QVERIFY(green > 10);
    }

    void aWideLowPictureLosesWhatIsBelowItsEdge() {
        Loaded w;
        QtPicturePort port([] { return WindowSize{1200, 400}; });
        QVERIFY(w.output.PrintToImage(port));
        auto bytes = port.EncodePicture(PictureFormat::Png);
        port.EndPicture();
        QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "PNG");
        QCOMPARE(image.size(), QSize(1200, 400));
        // Graph box 80..1120 from 80 down to 560: its sides run off the bottom edge.
        QCOMPARE(At(image, 79, 399), 0u);
        QCOMPARE(At(image, 1121, 399), 0u);
        QCOMPARE(At(image, 600, 79), 0u);
        QCOMPARE(At(image, 600, 399) == 0u, false);
    }

    void theClipboardGetsThePicture() {
        Loaded w;
        QtPicturePort port([] { return WindowSize{500, 380}; });
        QGuiApplication::clipboard()->setText("old");
        w.output.MenuToClip(port);
        QVERIFY(w.prompts.boxes.empty());
        QImage got = QGuiApplication::clipboard()->image();
        QCOMPARE(got.size(), QSize(500, 380));
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(w.output.PrintToImage(port));
        auto bytes = port.EncodePicture(PictureFormat::Png);
        port.EndPicture();
        QImage drawn = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "PNG");
        QCOMPARE(got.convertToFormat(QImage::Format_RGB32),
                 drawn.convertToFormat(QImage::Format_RGB32));
    }

    void toFileThroughTheDialogWritesTheTypedNameAndKeepsTheFolder() {
        Loaded w;
        test::TempDir home, pictures;
        std::filesystem::create_directory(home.Path("sub"));
        TFilesForm form({"/"}, nullptr);
        form.SetWorkingFolder(home.Path());
        form.core().SetFolder(pictures.Path());
        form.SetWorkingFolder(home.Path());
        QtPicturePort port([] { return WindowSize{648, 489}; });

        QString proposed;
        test::WhenModal<TFilesForm>([&proposed, &pictures](TFilesForm* d) {
            proposed = d->ui().Name->text();
            d->core().SetFolder(pictures.Path());
            d->ui().Name->clear();
            QTest::keyClicks(d->ui().Name, "TRACE2");
            QTest::mouseClick(d->ui().Ok, Qt::LeftButton);
        });
        w.output.MenuToFile(port, form);
        QCOMPARE(proposed, QString("FEEDER2.BMP"));
        auto bytes = test::ReadBytes(pictures.Path("TRACE2.BMP"));
        QVERIFY(bytes.size() > 54);
        QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        QCOMPARE(image.size(), QSize(648, 489));
        QCOMPARE(form.WorkingFolder(), home.Path());

        test::WhenModal<TFilesForm>([&home](TFilesForm* d) {
            d->core().SetFolder(home.Path("sub"));
            QTest::mouseClick(d->ui().Cancel, Qt::LeftButton);
        });
        w.output.MenuToFile(port, form);
        QCOMPARE(form.WorkingFolder(), home.Path());
        QVERIFY(w.prompts.boxes.empty());
        QCOMPARE(pictures.Names().size(), std::size_t(1));
    }

    void thePanelGivesTheTableItsWholeTexts() {
        FilesPanel panel;
        panel.resize(300, FilesPanel::kHeight); // too narrow for the name on one line
        std::string path = "/A/VERY/LONG/FOLDER/NAME/THAT/DOES/NOT/FIT/THE/LABEL/CABLE1.KEL";
        panel.SetLabel("SFilename", path, {255, 0, 0});
        QVERIFY(panel.Label("SFilename")->text() != QString::fromStdString(path)); // wrapped
        QCOMPARE(panel.ShownLabelText("SFilename"), path);
        panel.SetLabel("SDate", "01/02/03", kBlack);
        panel.SetLabelVisible("SDate", false);
        QCOMPARE(panel.ShownLabelText("SDate"), std::string());
        panel.SetLabelVisible("SDate", true);
        QCOMPARE(panel.ShownLabelText("SDate"), std::string("01/02/03"));
        panel.ClearLabels();
        QCOMPARE(panel.ShownLabelText("SFilename"), std::string());
        QCOMPARE(panel.ShownLabelText("NoSuchLabel"), std::string());
    }
};

QTEST_MAIN(OutputQtTest)
#include "output_qt_test.moc"
