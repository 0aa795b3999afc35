#include "support/temp_dir.h"
#include "ui_files_form.h"
#include "waveform/files_form.h"
#include "waveform/trace_file.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "support/when_modal.h"
#include <filesystem>
#include <functional>

using namespace r470;
using r470::test::TempDir;

namespace {

void WriteWaveform(const std::string& path, const std::string& date, const std::string& cable) {
    TraceData t;
    t.header.SampleCount = 3;
    t.notes.Date = date;
    t.notes.Time = "10:00";
    t.notes.CableId = cable;
    t.notes.Comments = {"first", "", "third", "fourth", "fifth"};
    VectorSink sink;
    WriteTrace(sink, t);
    r470::test::WriteBytes(path, sink.data);
}

// A1.KEL and b2.kel among files and a folder that must not be listed.
void FillFolder(const TempDir& dir) {
    WriteWaveform(dir.Path("A1.KEL"), "01/02/03", "A1 CABLE");
    WriteWaveform(dir.Path("b2.kel"), "04/05/06", "B2 CABLE");
    r470::test::WriteText(dir.Path("NOTES.TXT"), "x");
    std::filesystem::create_directory(dir.Path("Alpha"));
    WriteWaveform(dir.Path("Alpha/IN.KEL"), "07/08/09", "INNER");
}

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void ClickRow(QListWidget* list, int row, bool twice = false) {
    QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class FilesFormTest : public QObject {
    Q_OBJECT

  private slots:
    void openModeShowsThePreviewAndTakesTheClickedFile() {
        TempDir dir;
        FillFolder(dir);
        TFilesForm form({"/"}, nullptr);
        form.Prepare(FileDialogMode::Open, dir.Path(), "", true);
        form.show();
        auto& ui = form.ui();

        QCOMPARE(form.windowTitle(), QString("Open file"));
        QCOMPARE(form.size(), QSize(425, 387));
        QVERIFY(ui.InfoPanel->isVisible());
        QCOMPARE(ui.InfoPanel->geometry(), QRect(0, 184, 425, 168));
        QCOMPARE(Items(ui.Files), QStringList({"A1", "b2"}));
        QCOMPARE(ui.Files->currentRow(), 0);
        QCOMPARE(ui.Name->text(), QString("A1.KEL"));
        QCOMPARE(ui.DateStr->text(), QString("01/02/03"));
        QCOMPARE(ui.CableID->text(), QString("A1 CABLE"));
        QCOMPARE(ui.Comments->toPlainText(), QString("first\n\nthird\nfourth\nfifth"));
        QVERIFY(ui.Ok->isEnabled());
        QVERIFY(ui.Ok->isDefault());

        ClickRow(ui.Files, 1);
        QCOMPARE(ui.Name->text(), QString("b2.kel"));
        QCOMPARE(ui.DateStr->text(), QString("04/05/06"));
        QCOMPARE(ui.TimeStr->text(), QString("10:00"));
        QCOMPARE(ui.CableID->text(), QString("B2 CABLE"));

        QTest::mouseClick(ui.Ok, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QVERIFY(form.Result().ok);
        QCOMPARE(Q(form.Result().path), Q(dir.Path("b2.kel")));
    }

    void openModeShowsANotValidFileAndDisablesOkOnAnEmptyFolder() {
        TempDir dir;
        r470::test::WriteText(dir.Path("JUNK.KEL"), "junk");
        TFilesForm form({"/"}, nullptr);
        form.Prepare(FileDialogMode::Open, dir.Path(), "", true);
        form.show();
        QCOMPARE(form.ui().DateStr->text(), QString("File is not a valid waveform file"));
        QCOMPARE(form.ui().DateStr->cursorPosition(), 0);
        QCOMPARE(form.ui().CableID->text(), QString());
        form.hide();

        TempDir empty;
        form.Prepare(FileDialogMode::Open, empty.Path(), "", true);
        form.show();
        QCOMPARE(form.ui().Files->count(), 0);
        QVERIFY(!form.ui().Ok->isEnabled());
        QCOMPARE(form.ui().DateStr->text(), QString());
        form.FilesDblClick(0);
        QVERIFY(form.isVisible());
        QVERIFY(!form.Result().ok);
    }

    void saveModeIsShorterPreselectsTheProposedNameAndCompletesTypedNames() {
        TempDir dir;
        FillFolder(dir);
        TFilesForm form({"/"}, nullptr);
        form.Prepare(FileDialogMode::Open, dir.Path(), "", true);
        form.show();
        int openHeight = form.height();
        form.hide();

        form.Prepare(FileDialogMode::Save, dir.Path(), "B2.KEL", true);
        form.show();
        auto& ui = form.ui();
        QCOMPARE(form.windowTitle(), QString("Save file as"));
        QCOMPARE(openHeight - form.height(), 168);
        QVERIFY(!ui.InfoPanel->isVisible());
        QCOMPARE(ui.ButtonBar->geometry(), QRect(0, 387 - 168 - 35, 425, 35));
        QCOMPARE(ui.Files->currentRow(), 1);
        QVERIFY(ui.Files->item(1)->isSelected());
        QCOMPARE(ui.Name->text(), QString("B2.KEL"));
        QVERIFY(ui.Ok->isEnabled());

        ui.Name->clear();
        QTest::keyClicks(ui.Name, "NEW");
        QTest::keyClick(ui.Name, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QVERIFY(form.Result().ok);
        QCOMPARE(Q(form.Result().path), Q(dir.Path("NEW.KEL")));

        // A proposed name that is not listed leaves the list without a selection.
        form.Prepare(FileDialogMode::Save, dir.Path(), "OTHER.KEL", true);
        form.show();
        QCOMPARE(ui.Files->selectedItems().size(), 0);
        QCOMPARE(ui.Name->text(), QString("OTHER.KEL"));
        form.hide();
    }

    void modalUseThroughTheChooserInterface() {
        TempDir dir;
        FillFolder(dir);
        TFilesForm form({"/"}, nullptr);
        FileChooser& chooser = form;

        test::WhenModal<TFilesForm>(
            [](TFilesForm* w) { QTest::mouseClick(w->ui().Cancel, Qt::LeftButton); });
        QVERIFY(!chooser.ChooseOpen(dir.Path()).has_value());

        test::WhenModal<TFilesForm>([](TFilesForm* w) { ClickRow(w->ui().Files, 0, true); });
        auto opened = chooser.ChooseOpen("");
        QVERIFY(opened.has_value());
        QCOMPARE(Q(*opened), Q(dir.Path("A1.KEL")));

        // Pictures: no ".KEL" for a name typed without an extension.
        QString proposed;
        test::WhenModal<TFilesForm>([&proposed](TFilesForm* w) {
            proposed = w->ui().Name->text();
            w->ui().Name->clear();
            QTest::keyClicks(w->ui().Name, "PIC");
            QTest::mouseClick(w->ui().Ok, Qt::LeftButton);
        });
        auto picture = chooser.ChooseSave(dir.Path(), "A1.BMP", false);
        QCOMPARE(proposed, QString("A1.BMP"));
        QVERIFY(picture.has_value());
        QCOMPARE(Q(*picture), Q(dir.Path("PIC")));
    }

    void foldersAreBrowsedAndEnterInTheFolderListDoesNotConfirm() {
        TempDir dir;
        FillFolder(dir);
        TFilesForm form({"/"}, nullptr);
        form.Prepare(FileDialogMode::Open, dir.Path(), "", true);
        form.show();
        auto& ui = form.ui();
        QString here = Q(std::filesystem::path(dir.Path()).filename().string());
        QCOMPARE(Items(ui.Folder), QStringList({here, "..", "Alpha"}));
        QCOMPARE(ui.Folder->currentRow(), 0);

        ClickRow(ui.Folder, 2, true);
        QCOMPARE(Items(ui.Files), QStringList({"IN"}));
        QCOMPARE(ui.Name->text(), QString("IN.KEL"));
        QCOMPARE(ui.CableID->text(), QString("INNER"));
        QCOMPARE(Items(ui.Folder), QStringList({"Alpha", ".."}));

        ui.Folder->setFocus();
        ui.Folder->setCurrentRow(1);
        QTest::keyClick(ui.Folder, Qt::Key_Return);
        QVERIFY(form.isVisible());
        QCOMPARE(Items(ui.Files), QStringList({"A1", "b2"}));
        form.hide();
    }

    void aDriveThatCannotBeEnteredPutsTheSelectorBack() {
        TempDir dir;
        FillFolder(dir);
        TFilesForm form({"/", dir.Path(), dir.Path("unplugged")}, nullptr);
        form.Prepare(FileDialogMode::Open, dir.Path("Alpha"), "", true);
        form.show();
        auto& ui = form.ui();
        QCOMPARE(ui.Drive->count(), 3);
        QCOMPARE(ui.Drive->currentIndex(), 1);

        ui.Drive->setCurrentIndex(2);
        form.DriveChange(2);
        QCOMPARE(ui.Drive->currentIndex(), 1);
        QCOMPARE(Items(ui.Files), QStringList({"IN"}));

        form.DriveChange(1);
        QCOMPARE(Items(ui.Files), QStringList({"A1", "b2"}));
        form.hide();
    }
};

QTEST_MAIN(FilesFormTest)
#include "files_form_test.moc"
