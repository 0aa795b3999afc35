// "Print", "To clipboard" and "To file" from the real main window's menu, offscreen.
#include "display/files_panel_qt.h"
#include "main/main_form.h"
#include "output/output_menu_qt.h"
#include "support/main_window.h"
#include "support/pdf_pages.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_files_form.h"
#include "waveform/files_form.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QPrintDialog>
#include <QtTest>
#include <filesystem>

using namespace r470;

class MainOutputFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    void Load(const char* name) {
        QCOMPARE(form->commands().LoadFile(std::string(R470_SAMPLES) + "/" + name), 0);
    }
    void Trigger(const char* action) {
        QAction* a = form->Action(action);
        QVERIFY(a);
        a->trigger();
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        QDir::setCurrent(QString::fromStdString(dir->Path()));
        prompts.boxes.clear();
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void toFileWritesThePictureOfTheWindowsOuterSize() {
        Load("FEEDER1.KEL");
        QString proposed;
        test::WhenModal<TFilesForm>([&proposed](TFilesForm* d) {
            proposed = d->ui().Name->text();
            d->ui().Name->clear();
            QTest::keyClicks(d->ui().Name, "TRACE2");
            QTest::mouseClick(d->ui().Ok, Qt::LeftButton);
        });
        Trigger("MenuToFile");
        QCOMPARE(proposed, QString("FEEDER1.BMP"));
        std::string path = dir->Path("TRACE2.BMP");
        QVERIFY(std::filesystem::exists(path));
        QImage image(QString::fromStdString(path), "BMP");
        QCOMPARE(image.size(), form->frameGeometry().size());
        // The table's first row repeats the panel's file name, in slot 1's red.
        const int w = image.width();
        const int bottom = static_cast<int>(std::nearbyint((w - w / 15) * 0.5));
        int red = 0;
        for (int y = bottom + 1; y < std::min(bottom + 30, image.height()); ++y)
            for (int x = w / 15; x < w - w / 15; ++x)
                red += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000u;
        QVERIFY(red > 10);
        QVERIFY(prompts.boxes.empty());
        QCOMPARE(form->session().target, OutputTarget::Screen);
    }

    void toClipboardReplacesItsContents() {
        Load("FEEDER1.KEL");
        Load("FEEDER2.KEL");
        QGuiApplication::clipboard()->setText("before");
        Trigger("MenuToClip");
        QCOMPARE(QGuiApplication::clipboard()->image().size(), form->frameGeometry().size());
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(prompts.boxes.empty());
    }

#ifndef _WIN32 // Windows' print dialog is the system's own: no PDF printer for a test to drive
    void printGoesToAPdfFileThroughTheDialog() {
        Load("FEEDER2.KEL");
        QPrinter& printer = form->Output().Printer().Printer();
        std::string path = dir->Path("page.pdf");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setCopyCount(2);
        test::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        Trigger("MenuPrint");
        QCOMPARE(test::PdfPages(test::ReadBytes(path)), std::size_t(2));
        QVERIFY(prompts.boxes.empty());
        // The window draws on its own surface again.
        QCOMPARE(form->session().target, OutputTarget::Screen);
        QCOMPARE(form->display().state().GraphLeft, 0);
    }
#endif
};

QTEST_MAIN(MainOutputFormTest)
#include "main_output_form_test.moc"
