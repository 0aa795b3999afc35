#include "shell/msg_form.h"
#include "shell/prompts.h"
#include "shell/prompts_qt.h"
#include "ui_msg_form.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "support/when_modal.h"
#include <functional>

using namespace r470;

class MsgFormTest : public QObject {
    Q_OBJECT

  private slots:
    void messageWindowLayoutAndResult() {
        int centredLeft = -1, button1Top = -1;
        bool button2Hidden = false, okDefault = false;
        QString caption, caption1, text;
        QCursor during;
        test::WhenModal<QWidget>([&](QWidget* w) {
            auto* b1 = w->findChild<QPushButton*>("Button1");
            auto* b2 = w->findChild<QPushButton*>("Button2");
            auto* memo = w->findChild<QTextEdit*>("Memo");
            centredLeft = b1->x();
            button1Top = b1->y();
            button2Hidden = b2->isHidden();
            okDefault = b1->isDefault();
            caption = w->windowTitle();
            caption1 = b1->text();
            text = memo->toPlainText();
            during = *QApplication::overrideCursor();
            QTest::mouseClick(b1, Qt::LeftButton);
        });
        QApplication::setOverrideCursor(Qt::WaitCursor);
        int result = ShowMsgWindow("Invalid operation for difference waveform");
        QCOMPARE(result, int(IdOk));
        QCOMPARE(centredLeft, 94);
        QCOMPARE(button1Top, 4);
        QVERIFY(button2Hidden);
        QVERIFY(okDefault);
        QCOMPARE(caption, QString("Message:"));
        QCOMPARE(caption1, QString("&Ok"));
        QCOMPARE(text, QString("Invalid operation for difference waveform"));
        QCOMPARE(during.shape(), Qt::ArrowCursor);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
    }

    void messageWindowFixedSizeAndOnTop() {
        TMsgForm form;
        QCOMPARE(form.size(), QSize(276, 84));
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(form.ui().Memo->geometry(), QRect(2, 6, 271, 35));
        QVERIFY(form.ui().Memo->isReadOnly());
    }

    void messageBoxButtonsIconAndAnswer_data() {
        QTest::addColumn<unsigned>("flags");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("press");
        QTest::newRow("ok") << 0u << QList<int>{QMessageBox::Ok} << int(QMessageBox::NoIcon)
                            << int(QMessageBox::Ok);
        QTest::newRow("retry") << 5u << QList<int>{QMessageBox::Retry, QMessageBox::Cancel}
                               << int(QMessageBox::NoIcon) << int(QMessageBox::Retry);
        QTest::newRow("clear all") << 17u << QList<int>{QMessageBox::Ok, QMessageBox::Cancel}
                                   << int(QMessageBox::Critical) << int(QMessageBox::Cancel);
        QTest::newRow("save changes")
            << 19u << QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}
            << int(QMessageBox::Critical) << int(QMessageBox::No);
        QTest::newRow("save changes, no cancel")
            << 20u << QList<int>{QMessageBox::Yes, QMessageBox::No} << int(QMessageBox::Critical)
            << int(QMessageBox::Yes);
        QTest::newRow("confirm") << 33u << QList<int>{QMessageBox::Ok, QMessageBox::Cancel}
                                 << int(QMessageBox::Question) << int(QMessageBox::Ok);
        QTest::newRow("cancel transfer") << 36u << QList<int>{QMessageBox::Yes, QMessageBox::No}
                                         << int(QMessageBox::Question) << int(QMessageBox::No);
        QTest::newRow("overwrite")
            << 51u << QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}
            << int(QMessageBox::Warning) << int(QMessageBox::Yes);
    }

    void messageBoxButtonsIconAndAnswer() {
        QFETCH(unsigned, flags);
        QFETCH(QList<int>, buttons);
        QFETCH(int, icon);
        QFETCH(int, press);
        QList<int> seen;
        int seenIcon = -1;
        QString title, text;
        test::WhenModal<QWidget>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                seen << int(box->standardButton(b));
            seenIcon = int(box->icon());
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::StandardButton(press))->click();
        });
        QtPrompts prompts;
        int id = prompts.ShowMessageBox("Overwrite existing file ?", "Problem", flags);
        std::sort(seen.begin(), seen.end());
        std::sort(buttons.begin(), buttons.end());
        QCOMPARE(seen, buttons);
        QCOMPARE(seenIcon, icon);
        QCOMPARE(title, QString("Problem"));
        QCOMPARE(text, QString("Overwrite existing file ?"));
        const std::map<int, int> ids = {{QMessageBox::Ok, IdOk},
                                        {QMessageBox::Cancel, IdCancel},
                                        {QMessageBox::Retry, IdRetry},
                                        {QMessageBox::Yes, IdYes},
                                        {QMessageBox::No, IdNo}};
        QCOMPARE(id, ids.at(press));
    }

    void messageBoxTextsAreConvertedFromTheProgramsCodePage() {
        QString text;
        test::WhenModal<QWidget>([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QtPrompts prompts;
        prompts.ShowMessageBox(" m/\xB5s", "", 0);
        QCOMPARE(text, QString::fromUtf8(" m/\xC2\xB5s"));
    }

    void messageWindowGivesOkHoweverItIsClosed() {
        test::WhenModal<QWidget>([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(ShowMsgWindow("by Escape"), int(IdOk));
        test::WhenModal<QWidget>([](QWidget* w) { w->close(); });
        QCOMPARE(ShowMsgWindow("by its close"), int(IdOk));
    }

    void emptyCaptionsShowAnEmptyTitle() {
        QString title;
        test::WhenModal<QWidget>([&](QWidget* w) {
            title = w->windowTitle();
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
        });
        QtPrompts prompts;
        prompts.ShowMessageBox("Clear ALL waveforms from screen ?", "", 1);
        QCOMPARE(title, QString(" "));
    }

    void escapeGivesCancelWhereThereIsOne() {
        test::WhenModal<QWidget>([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QtPrompts prompts;
        QCOMPARE(prompts.ShowMessageBox("Clear ALL waveforms from screen ?", "", 17),
                 int(IdCancel));
    }
};

QTEST_MAIN(MsgFormTest)
#include "msg_form_test.moc"
