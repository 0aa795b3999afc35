#include "shell/text_qt.h"
#include "support/scripted_prompts.h"
#include "ui_add_comm_form.h"
#include "ui_ch_wave_form.h"
#include "ui_comm_opt_form.h"
#include "ui_edit_comm_form.h"
#include "waveform/add_comm_form.h"
#include "waveform/ch_wave_form.h"
#include "waveform/comm_opt_form.h"
#include "waveform/comments.h"
#include "waveform/edit_comm_form.h"
#include "waveform/waveform_set.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "support/when_modal.h"
#include <functional>

using namespace r470;
using r470::test::ScriptedPrompts;

namespace {

TraceNotes SampleNotes() {
    TraceNotes n;
    n.Date = "12/03/17";
    n.Time = "10:42";
    n.CableId = "FEEDER 7";
    n.Comments = {"joint at pole 12", "", "water ingress", "", ""};
    n.MoreComments = "first line\r\nsecond \xB5s line";
    return n;
}

void PressCtrlEnter(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
}

} // namespace

class CommentFormsTest : public QObject {
    Q_OBJECT

  private slots:
    void commentsDialogShowsTheNotes() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        ui.LCabRtn->setText("Return");
        TraceNotes notes = SampleNotes();
        QString title, memo;
        int blocks = 0;
        bool noMoreHidden = false;
        test::WhenModal<QDialog>([&](QDialog* d) {
            title = d->windowTitle();
            QCOMPARE(ui.Name->text(), QString("/DATA/CABLE01.KEL"));
            QVERIFY(ui.Name->isReadOnly());
            QCOMPARE(ui.LCabRtn->text(), QString("Cable ID"));
            QCOMPARE(ui.DateStr->text(), QString("12/03/17"));
            QCOMPARE(ui.TimeStr->text(), QString("10:42"));
            QCOMPARE(ui.CableID->text(), QString("FEEDER 7"));
            memo = ui.Comments->toPlainText();
            blocks = ui.Comments->blockCount();
            noMoreHidden = ui.NoMore->isHidden();
            ui.DateStr->setText("changed");
            ui.Cancel->click();
        });
        QCOMPARE(EditNotes(notes, "/DATA/CABLE01.KEL", false, prompts, dialogs),
                 CommentsResult::Cancel);
        QCOMPARE(title, QString("Edit comments"));
        QCOMPARE(memo, QString("joint at pole 12\n\nwater ingress"));
        QCOMPARE(blocks, 3);
        QVERIFY(noMoreHidden);
        QVERIFY(notes == SampleNotes());
    }

    void typedFieldsAreStoredOnOkWithinTheirLimits() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        TraceNotes notes = SampleNotes();
        test::WhenModal<QDialog>([&](QDialog*) {
            ui.DateStr->clear();
            QTest::keyClicks(ui.DateStr, "2018-01-31XYZ");
            ui.TimeStr->clear();
            QTest::keyClicks(ui.TimeStr, "08:15");
            ui.CableID->clear();
            QTest::keyClicks(ui.CableID, QString(35, 'k'));
            ui.Comments->clear();
            QTest::keyClicks(ui.Comments, "north end");
            PressCtrlEnter(ui.Comments);
            QTest::keyClicks(ui.Comments, QString(55, 's'));
            ui.Ok->click();
        });
        QCOMPARE(EditNotes(notes, "X", false, prompts, dialogs), CommentsResult::Ok);
        QCOMPARE(notes.Date, std::string("2018-01-31"));
        QCOMPARE(notes.Time, std::string("08:15"));
        QCOMPARE(notes.CableId, std::string(30, 'k'));
        QCOMPARE(notes.Comments[0], std::string("north end"));
        QCOMPARE(notes.Comments[1], std::string(50, 's'));
        QCOMPARE(notes.Comments[2], std::string());
        QCOMPARE(notes.MoreComments, SampleNotes().MoreComments);
    }

    void enterAcceptsAndCtrlEnterStartsALine() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        TraceNotes notes;
        int blocksAfterCtrlEnter = 0;
        bool openAfterCtrlEnter = false;
        test::WhenModal<QDialog>([&](QDialog* d) {
            QTest::keyClicks(ui.Comments, "a");
            PressCtrlEnter(ui.Comments);
            QTest::keyClicks(ui.Comments, "b");
            blocksAfterCtrlEnter = ui.Comments->blockCount();
            openAfterCtrlEnter = d->isVisible();
            QTest::keyClick(ui.Comments, Qt::Key_Return);
        });
        QCOMPARE(EditNotes(notes, "X", false, prompts, dialogs), CommentsResult::Ok);
        QCOMPARE(blocksAfterCtrlEnter, 2);
        QVERIFY(openAfterCtrlEnter);
        QCOMPARE(notes.Comments[0], std::string("a"));
        QCOMPARE(notes.Comments[1], std::string("b"));
    }

    void memoKeepsFiveLinesAsKeysAreReleased() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        TraceNotes notes;
        notes.Comments = {"one", "two", "three", "four", "five"};
        QString afterSixth, afterSplit, afterPaste;
        int caretAfterSixth = -1, caretAfterSplit = -1;
        test::WhenModal<QDialog>([&](QDialog*) {
            ui.Comments->moveCursor(QTextCursor::End);
            PressCtrlEnter(ui.Comments);
            afterSixth = ui.Comments->toPlainText();
            caretAfterSixth = ui.Comments->textCursor().position();
            QTextCursor c = ui.Comments->textCursor();
            c.setPosition(6); // inside "two"
            ui.Comments->setTextCursor(c);
            PressCtrlEnter(ui.Comments);
            afterSplit = ui.Comments->toPlainText();
            caretAfterSplit = ui.Comments->textCursor().position();
            // Too long already, then a key released that was pressed elsewhere (Tab).
            ui.Comments->setPlainText("a\nb\nc\nd\ne\nf\ng");
            QTest::keyRelease(ui.Comments, Qt::Key_Tab);
            afterPaste = ui.Comments->toPlainText();
            ui.Ok->click();
        });
        QCOMPARE(EditNotes(notes, "X", false, prompts, dialogs), CommentsResult::Ok);
        const QString five = "one\ntwo\nthree\nfour\nfive";
        QCOMPARE(afterSixth, five);
        QCOMPARE(caretAfterSixth, int(five.size()));
        QCOMPARE(afterSplit, five);
        QCOMPARE(caretAfterSplit, 6);
        QCOMPARE(afterPaste, QString("a\nb\nc\nd\ne"));
        QCOMPARE(notes.Comments[4], std::string("e"));
    }

    void sixLinesAreRefusedAndTheDialogStaysOpen() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        prompts.answers = {IdOk};
        auto& ui = dialogs.EditForm().ui();
        TraceNotes notes = SampleNotes();
        bool openAfterOk = false;
        test::WhenModal<QDialog>([&](QDialog* d) {
            // As a paste with the mouse leaves it: no key is released in the memo.
            ui.Comments->setPlainText("1\n2\n3\n4\n5\n6");
            ui.Ok->click();
            openAfterOk = d->isVisible();
            ui.Cancel->click();
        });
        QCOMPARE(EditNotes(notes, "X", false, prompts, dialogs), CommentsResult::Cancel);
        QVERIFY(openAfterOk);
        QCOMPARE(prompts.boxes.size(), std::size_t(1));
        QCOMPARE(prompts.boxes[0].text, std::string("Too many comment lines. Max: 5"));
        QCOMPARE(prompts.boxes[0].caption, std::string("Problem"));
        QVERIFY(notes == SampleNotes());
    }

    void additionalCommentsStayWhenTheCommentsAreCancelled() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        auto& add = dialogs.AddForm().ui();
        WaveformSet set;
        set.Slot(1).Loaded = set.Slot(1).Shown = true;
        set.Slot(1).FileName = "/DATA/CABLE01.KEL";
        set.Slot(1).data.notes = SampleNotes();
        set.TraceCount = 1;
        set.CurTrace = 1;
        QString addTitle, addName, addMemo;
        test::WhenModal<QDialog>([&](QDialog*) {
            ui.CableID->setText("discarded");
            test::WhenModal<QDialog>([&](QDialog* d) {
                addTitle = d->windowTitle();
                addName = add.Name->text();
                addMemo = add.AddComm->toPlainText();
                add.AddComm->moveCursor(QTextCursor::End);
                PressCtrlEnter(add.AddComm);
                QTest::keyClicks(add.AddComm, "third");
                add.Ok->click();
            });
            ui.More->click();
            ui.Cancel->click();
        });
        QCOMPARE(EditCurTrace(set, prompts, dialogs), 1);
        QCOMPARE(addTitle, QString("Additional comments"));
        QCOMPARE(addName, QString("/DATA/CABLE01.KEL"));
        QCOMPARE(addMemo, QString::fromUtf8("first line\nsecond \xC2\xB5s line"));
        const TraceNotes& n = set.Slot(1).data.notes;
        QCOMPARE(n.MoreComments, std::string("first line\r\nsecond \xB5s line\r\nthird"));
        QCOMPARE(n.CableId, std::string("FEEDER 7"));
        QVERIFY(set.Slot(1).Changed);
    }

    void additionalCommentsMemoTakesAtMost1023Characters() {
        TAddCommForm form;
        auto& ui = form.ui();
        QCOMPARE(ui.AddComm->size(), QSize(511, 301));
        QCOMPARE(form.windowTitle(), QString("Additional comments"));
        std::string memo(1020, 'a');
        std::string result;
        test::WhenModal<QDialog>([&](QDialog*) {
            ui.AddComm->moveCursor(QTextCursor::End);
            PressCtrlEnter(ui.AddComm); // a line break takes two characters once stored
            QTest::keyClicks(ui.AddComm, "xyz");
            ui.AddComm->moveCursor(QTextCursor::Start);
            ui.AddComm->insertPlainText("PASTED");
            result = FromQ(ui.AddComm->toPlainText());
            QTest::keyClick(ui.AddComm, Qt::Key_Enter);
        });
        QVERIFY(form.Edit("Memory 3", memo));
        QCOMPARE(result, std::string(1020, 'a') + "\nx");
        QCOMPARE(memo, result);
        QCOMPARE(ui.Name->text(), QString("Memory 3"));

        test::WhenModal<QDialog>([&](QDialog*) {
            ui.AddComm->setPlainText("thrown away");
            QTest::keyClick(ui.AddComm, Qt::Key_Escape);
        });
        std::string kept = "kept";
        QVERIFY(!form.Edit("", kept));
        QCOMPARE(kept, std::string("kept"));
    }

    void noFurtherCommentsEndsTheImportWalk() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        auto& ui = dialogs.EditForm().ui();
        TraceNotes notes;
        QString caption;
        bool shown = false;
        test::WhenModal<QDialog>([&](QDialog*) {
            shown = ui.NoMore->isVisible();
            caption = ui.NoMore->text();
            ui.DateStr->setText("dropped");
            ui.NoMore->click();
        });
        QCOMPARE(EditNotes(notes, "Memory 12", true, prompts, dialogs), CommentsResult::NoMore);
        QVERIFY(shown);
        QCOMPARE(caption, QString("&No further comments"));
        QCOMPARE(ui.Name->text(), QString("Memory 12"));
        QVERIFY(notes == TraceNotes{});
    }

    void commentOptionsAnswerByButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("option");
        QTest::newRow("none") << "NoComm"
                              << "No comments for any waveform" << int(CommentOption::None);
        QTest::newRow("common") << "CommonComm"
                                << "Comments the same for all waveforms"
                                << int(CommentOption::Common);
        QTest::newRow("individual")
            << "IndivComm"
            << "Different comments for each waveform" << int(CommentOption::Individual);
        QTest::newRow("cancel") << "Cancel"
                                << "&Cancel this data transfer" << int(CommentOption::Cancel);
    }

    void commentOptionsAnswerByButton() {
        QFETCH(QString, button);
        QFETCH(QString, label);
        QFETCH(int, option);
        QtCommentDialogs dialogs;
        auto& form = dialogs.OptionsForm();
        QCOMPARE(form.windowTitle(), QString("Comment options"));
        const std::map<QString, std::pair<QPushButton*, QLabel*>> rows = {
            {"NoComm", {form.ui().NoComm, form.ui().LNoComm}},
            {"CommonComm", {form.ui().CommonComm, form.ui().LCommonComm}},
            {"IndivComm", {form.ui().IndivComm, form.ui().LIndivComm}},
            {"Cancel", {form.ui().Cancel, form.ui().LCancel}}};
        QCOMPARE(rows.at(button).second->text(), label);
        test::WhenModal<QDialog>([&](QDialog*) { rows.at(button).first->click(); });
        QCOMPARE(int(dialogs.CommentOptions()), option);

        // Escape cancels whatever was pressed the time before.
        test::WhenModal<QDialog>([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QCOMPARE(dialogs.CommentOptions(), CommentOption::Cancel);
    }

    void chooserListsTheFilesAndAnswersTheSelectedEntry() {
        QtCommentDialogs dialogs;
        auto& form = dialogs.ChooserForm();
        auto& ui = form.ui();
        QCOMPARE(form.windowTitle(), QString("Select waveform"));
        QCOMPARE(ui.Label1->text(), QString("Choose waveform to edit:"));
        QStringList listed;
        int preselected = -2;
        test::WhenModal<QDialog>([&](QDialog*) {
            for (int i = 0; i < ui.WaveList->count(); ++i)
                listed << ui.WaveList->item(i)->text();
            preselected = ui.WaveList->currentRow();
            ui.WaveList->setCurrentRow(0);
            ui.Ok->click();
        });
        QCOMPARE(dialogs.ChooseWaveform({"/A/ONE.KEL", "/A/\xB5S.KEL"}, 1), 0);
        QCOMPARE(listed, (QStringList{"/A/ONE.KEL", QString::fromUtf8("/A/\xC2\xB5S.KEL")}));
        QCOMPARE(preselected, 1);

        test::WhenModal<QDialog>([&](QDialog*) { ui.Cancel->click(); });
        QCOMPARE(dialogs.ChooseWaveform({"/A/ONE.KEL", "/A/TWO.KEL"}, 0), -1);

        test::WhenModal<QDialog>([&](QDialog*) {
            preselected = ui.WaveList->selectedItems().size();
            ui.Ok->click();
        });
        QCOMPARE(dialogs.ChooseWaveform({"/A/ONE.KEL", "/A/TWO.KEL"}, -1), -1);
        QCOMPARE(preselected, 0);
    }

    void menuEditWithSlotsOneAndThreeEditsSlotThreeFromTheSecondEntry() {
        QtCommentDialogs dialogs;
        ScriptedPrompts prompts;
        WaveformSet set;
        for (int n : {1, 3}) {
            set.Slot(n).Loaded = set.Slot(n).Shown = true;
            set.Slot(n).FileName = "/DATA/CABLE0" + std::to_string(n) + ".KEL";
            ++set.TraceCount;
        }
        set.CurTrace = 1;
        QString editedName;
        test::WhenModal<QDialog>([&](QDialog*) {
            test::WhenModal<QDialog>([&](QDialog*) {
                auto& ui = dialogs.EditForm().ui();
                editedName = ui.Name->text();
                QTest::keyClicks(ui.Comments, "third slot");
                ui.Ok->click();
            });
            dialogs.ChooserForm().ui().WaveList->setCurrentRow(1);
            dialogs.ChooserForm().ui().Ok->click();
        });
        QCOMPARE(MenuEdit(set, prompts, dialogs), 3);
        QCOMPARE(editedName, QString("/DATA/CABLE03.KEL"));
        QCOMPARE(set.Slot(3).data.notes.Comments[0], std::string("third slot"));
        QVERIFY(set.Slot(3).Changed);
        QVERIFY(!set.Slot(1).Changed);
    }

    void dialogsHaveFixedSizes() {
        QtCommentDialogs dialogs;
        for (QDialog* d :
             std::initializer_list<QDialog*>{&dialogs.EditForm(), &dialogs.AddForm(),
                                             &dialogs.OptionsForm(), &dialogs.ChooserForm()}) {
            QCOMPARE(d->minimumSize(), d->maximumSize());
            // Every control lies inside its window.
            for (QWidget* w : d->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (w->isWindow())
                    continue;
                QVERIFY2(QRect(QPoint(0, 0), d->size()).contains(w->geometry()),
                         qPrintable(w->objectName()));
            }
        }
    }
};

QTEST_MAIN(CommentFormsTest)
#include "comment_forms_form_test.moc"
