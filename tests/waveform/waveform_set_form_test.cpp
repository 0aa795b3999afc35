#include "display/compare_form.h"
#include "display/files_panel_qt.h"
#include "main/main_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_cl_wave_form.h"
#include "ui_files_form.h"
#include "ui_mismatch_form.h"
#include "waveform/cl_wave_form.h"
#include "waveform/files_form.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>

using namespace r470;
using test::WhenShown;

// The waveform commands as the user reaches them: menu items, the file dialog and the
// close dialog of the real main window, offscreen.

class WaveformSetFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    // When the file dialog is up, type `name` into it and press Ok.
    void AnswerFileDialog(const QString& name) {
        TFilesForm* f = form->FilesForm();
        WhenShown(f, [f, name] {
            f->ui().Name->setText(name);
            f->NameChange(name); // what typing into the field reports
            f->OkClick();
        });
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        for (const char* n : {"FEEDER1.KEL", "FEEDER2.KEL", "SHORT.KEL"})
            std::filesystem::copy_file(std::string(R470_SAMPLES) + "/" + n, dir->Path(n));
        // The file dialog starts in the current folder, as the program does from samples/.
        QDir::setCurrent(QString::fromStdString(dir->Path()));
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        for (int n = 1; n <= 4; ++n)
            form->session().set.Slot(n).Changed = false;
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void addWaveformOpensTheDialogAndLoadsTheChoice() {
        QVERIFY(form->Action("MenuAddWave"));
        QCOMPARE(form->Action("MenuAddWave")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(form->Action("MenuSave")->shortcut(), QKeySequence("Ctrl+S"));
        AnswerFileDialog("FEEDER2");
        form->Action("MenuAddWave")->trigger();
        QCOMPARE(form->session().set.TraceCount, 1);
        QCOMPARE(QString::fromStdString(form->session().set.Slot(1).Path),
                 QString::fromStdString(dir->Path("FEEDER2.KEL")));
        QVERIFY(!form->InfoPanel()->isVisible());
        QCOMPARE(form->Files()->TraceButton(1)->text(), QString("FEEDER2"));
    }

    void closeDialogClosesTheTickedWaveforms() {
        QCOMPARE(form->commands().LoadFile(dir->Path("FEEDER1.KEL")), 0);
        QCOMPARE(form->commands().LoadFile(dir->Path("FEEDER2.KEL")), 0);
        // Its pulse width differs: load it anyway.
        TMismatchForm* mismatch = form->CompareWindows().MismatchForm();
        WhenShown(mismatch, [mismatch] { mismatch->ui().OkBtn->click(); });
        QCOMPARE(form->commands().LoadFile(dir->Path("SHORT.KEL")), 0);
        QString row2;
        WhenShown(form->ClWaveForm(), [&] {
            TClWaveForm* c = form->ClWaveForm();
            row2 = c->ui().File2->text();
            QVERIFY(!c->ui().Close2->isChecked());
            c->ui().Close2->setChecked(true);
            c->ui().OkBtn->click();
        });
        form->Action("MenuCloseWave")->trigger();
        QVERIFY(row2.endsWith("FEEDER2.KEL"));
        QCOMPARE(form->session().set.TraceCount, 2);
        QVERIFY(!form->session().set.Slot(2).Loaded);
        QCOMPARE(form->Files()->TraceButton(2)->text(), QString());
        QCOMPARE(form->Files()->Strip(2)->palette().color(QPalette::Window),
                 form->Files()->palette().color(QPalette::Window));
    }

    void saveAsWritesUnderTheTypedNameWithItsExtension() {
        QCOMPARE(form->commands().LoadFile(dir->Path("FEEDER1.KEL")), 0);
        AnswerFileDialog(QString::fromStdString(dir->Path("COPY")));
        form->Action("MenuSaveAs")->trigger();
        QVERIFY(std::filesystem::exists(dir->Path("COPY.KEL")));
        QCOMPARE(form->Files()->TraceButton(1)->text(), QString("COPY"));
        QVERIFY(prompts.boxes.empty());
        // A long name keeps its start and its end on the button, and all of it in the tip.
        AnswerFileDialog(QString::fromStdString(dir->Path("ID-PE-50-JOINT-OPEN-END-12")));
        form->Action("MenuSaveAs")->trigger();
        QPushButton* b = form->Files()->TraceButton(1);
        QVERIFY2(b->text().startsWith("ID-") && b->text().endsWith("-12"), qPrintable(b->text()));
        QVERIFY(b->text().contains(QChar(0x2026)));
        QVERIFY(b->fontMetrics().horizontalAdvance(b->text()) < b->width());
        QCOMPARE(b->toolTip(), QString("ID-PE-50-JOINT-OPEN-END-12"));
    }

    // The whole road of a name no 8-bit code page holds: typed into the save dialog, written,
    // listed by the open dialog, picked there and read back.
    void cyrillicNameSavesAndReloadsThroughTheDialogs() {
        const QString name = QString::fromUtf8("\xD0\x9A\xD0\xB0\xD0\xB1\xD0\xB5\xD0\xBB\xD1\x8C");
        // Joined as UTF-8 here: the test fixture's own path joining goes through the
        // system's 8-bit code page where the test program has no UTF-8 manifest.
        const std::string feeder = dir->Path("FEEDER1.KEL");
        const std::string path =
            feeder.substr(0, feeder.size() - std::string("FEEDER1.KEL").size()) +
            name.toStdString() + ".KEL";
        QCOMPARE(form->commands().LoadFile(dir->Path("FEEDER1.KEL")), 0);
        form->session().set.Slot(1).data.notes.CableId = "Kabel 7";
        AnswerFileDialog(name);
        form->Action("MenuSaveAs")->trigger();
        QVERIFY(prompts.boxes.empty());
        QCOMPARE(QString::fromStdString(form->session().set.Slot(1).Path),
                 QString::fromStdString(path));
        QCOMPARE(form->Files()->TraceButton(1)->text(), name);

        TFilesForm* f = form->FilesForm();
        QStringList listed;
        WhenShown(f, [&] {
            for (int i = 0; i < f->ui().Files->count(); ++i)
                listed << f->ui().Files->item(i)->text();
            int row = static_cast<int>(listed.indexOf(name));
            if (row >= 0)
                f->FilesClick(row);
            f->OkClick();
        });
        form->Action("MenuAddWave")->trigger();
        QVERIFY2(listed.contains(name), qPrintable(listed.join(", ")));
        QCOMPARE(form->session().set.TraceCount, 2);
        const TraceSlot& again = form->session().set.Slot(2);
        QCOMPARE(QString::fromStdString(again.Path), QString::fromStdString(path));
        QCOMPARE(again.data.notes.CableId, std::string("Kabel 7"));
        QVERIFY(again.data.samples == form->session().set.Slot(1).data.samples);
    }

    void closingIsRefusedWhenTheSaveFails() {
        QCOMPARE(form->commands().LoadFile(dir->Path("FEEDER1.KEL")), 0);
        TraceSlot& s = form->session().set.Slot(1);
        s.Changed = true;
        s.Path = dir->Path("gone/FEEDER1.KEL");
        prompts.answers = {IdYes, IdCancel};
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QCOMPARE(QString::fromStdString(prompts.boxes[1].text), QString("Path not found"));
    }
};

QTEST_MAIN(WaveformSetFormTest)
#include "waveform_set_form_test.moc"
