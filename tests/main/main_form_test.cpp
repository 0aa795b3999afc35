#include "main/about_form.h"
#include "main/main_form.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui_about_form.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <algorithm>

using namespace r470;

class MainFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    AppPaths Paths() const { return {dir->Path("r470.SET"), dir->Path("R470.INI"), dir->Path()}; }

  private slots:
    void init() { dir = std::make_unique<test::TempDir>(); }
    void cleanup() { dir.reset(); }

    void firstRunOpensAtTheDesignPlacementWithTheStartPanel() {
        test::ScriptedPrompts prompts;
        TMainForm form(Paths(), &prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("R470 3.04 Version"));
        QCOMPARE(form.geometry().size(), QSize(648, 489));
        // The design place where the screen has room for it (the offscreen one is 800 wide):
        // never hanging off the screen's right edge.
        QSize screen = form.screen()->geometry().size();
        WindowRect fitted = FitToScreen(kMainDesignRect, {screen.width(), screen.height()});
        QCOMPARE(form.geometry(), QRect(fitted.left, fitted.top, 648, 489));
        if (screen.width() >= 1028 && screen.height() >= 603)
            QCOMPARE(form.geometry().topLeft(), QPoint(380, 114));
        QVERIFY(!form.isMaximized());
        QVERIFY(form.InfoPanel()->isVisible());
        QCOMPARE(form.InfoPanel()->findChild<QLabel*>("ProgName")->text(),
                 QString("Kelvanor Pulsonimetry"));
        QCOMPARE(form.InfoPanel()->findChild<QLabel*>("Label1")->text(), QString("Contact Nos:"));
        QCOMPARE(form.InfoPanel()->size(), QSize(370, 99));
        QCOMPARE(form.InfoPanel()->y(), 25);
        QVERIFY(form.NormToolBar()->isVisible());
        QVERIFY(!form.P335ToolBar()->isVisible());
        QVERIFY(form.MenuNormal()->isChecked());
        QVERIFY(!form.MenuInst()->isChecked());
        QCOMPARE(form.session().settings.XAxisUnits, 1);
        QCOMPARE(form.session().settings.DielUnits, 0);
        QCOMPARE(form.session().settings.CommPort, 2);
        QCOMPARE(form.centralWidget()->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void aRestartedWindowComesBackWhereItWasClosed() {
        test::ScriptedPrompts prompts;
        QRect closedAt;
        for (int run = 0; run < 3; ++run) {
            TMainForm form(Paths(), &prompts);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            if (run == 0)
                form.setGeometry(100, 80, 600, 400); // on the 800 x 600 offscreen screen
            else
                QCOMPARE(form.geometry(), closedAt); // not moved by the frame's size
            closedAt = form.geometry();
            QVERIFY(form.close());
        }
        SettingsRecord s = LoadSettings(Paths().settingsFile);
        QCOMPARE(QRect(s.WinLeft, s.WinTop, s.WinWidth, s.WinHeight), closedAt);
    }

    void closingWritesTheSettingsFile() {
        test::ScriptedPrompts prompts;
        {
            TMainForm form(Paths(), &prompts);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.setGeometry(40, 50, 700, 520); // the client area, as stored
            form.MenuInstClick();
            QVERIFY(form.close());
        }
        SettingsRecord s = LoadSettings(Paths().settingsFile);
        QCOMPARE(int(s.WinLeft), 40);
        QCOMPARE(int(s.WinTop), 50);
        QCOMPARE(int(s.WinWidth), 700);
        QCOMPARE(int(s.WinHeight), 520);
        QCOMPARE(int(s.ToolBarKind), 2);
        QCOMPARE(int(s.WinMaximized), 0);
        QVERIFY(prompts.boxes.empty());
    }

    void settingsPlacementMaximisedAndInstrumentToolbar() {
        SettingsRecord s;
        s.WinLeft = 10;
        s.WinTop = 20;
        s.WinWidth = 500;
        s.WinHeight = 400;
        s.ToolBarKind = 2;
        SaveSettings(Paths().settingsFile, s);
        {
            test::ScriptedPrompts prompts;
            TMainForm form(Paths(), &prompts);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(form.geometry().size(), QSize(500, 400));
            QVERIFY(!form.NormToolBar()->isVisible());
            QVERIFY(form.P335ToolBar()->isVisible());
            QVERIFY(form.MenuInst()->isChecked());
            QVERIFY(!form.MenuNormal()->isChecked());
            QCOMPARE(form.InfoPanel()->y(), 0);
            QCOMPARE(form.P335ToolBar()->geometry(),
                     QRect(form.centralWidget()->width() - 229, 0, 229, 94));
            form.resize(600, 400);
            QCOMPARE(form.P335ToolBar()->x(), form.centralWidget()->width() - 229);
            form.MenuNormalClick();
            QVERIFY(form.NormToolBar()->isVisible());
            QCOMPARE(form.InfoPanel()->y(), 25);
            QCOMPARE(int(form.session().settings.ToolBarKind), 1);
        }
        s.WinMaximized = 1;
        SaveSettings(Paths().settingsFile, s);
        test::ScriptedPrompts prompts;
        TMainForm form(Paths(), &prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.isMaximized());
        QVERIFY(form.close());
        SettingsRecord back = LoadSettings(Paths().settingsFile);
        QCOMPARE(int(back.WinMaximized), 1);
        QCOMPARE(int(back.WinWidth), 500); // the last normal size is kept
    }

    void cancellingTheSaveQuestionKeepsTheWindowOpen() {
        test::ScriptedPrompts prompts;
        TMainForm form(Paths(), &prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TraceSlot& slot = form.session().set.Slot(1);
        slot.Loaded = slot.Changed = true;
        slot.FileName = "/DATA/A.KEL";
        slot.Path = dir->Path("A.KEL");
        prompts.answers = {IdCancel};
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(prompts.boxes.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.boxes[0].text),
                 QString("/DATA/A.KEL has changed. do you want to save the changes ?"));
        QVERIFY(!QFile::exists(Paths().settingsFile.c_str()));
        slot.Changed = false;
        QVERIFY(form.close());
    }

    void filesNamedAtStartUpFillTheSlotsAndAFullSetIsSaidOnce() {
        test::ScriptedPrompts prompts;
        prompts.answers = {MbOk, MbOk};
        TMainForm form(Paths(), &prompts);
        form.show();
        const std::string s = R470_SAMPLES;
        form.OpenFiles({dir->Path("gone.KEL"), s + "/FEEDER1.KEL", s + "/FEEDER2.KEL",
                        s + "/FEEDER1.KEL", s + "/FEEDER2.KEL", s + "/GAIN5.KEL",
                        s + "/PE700.KEL"});
        QCOMPARE(form.session().set.TraceCount, 4);
        QCOMPARE(form.session().set.Slot(1).data.notes.CableId,
                 form.session().set.Slot(3).data.notes.CableId);
        // The missing file, then the fifth: the sixth is not tried.
        QCOMPARE(prompts.boxes.size(), std::size_t{2});
        QVERIFY(!form.InfoPanel()->isVisible());
    }

    void exitClosesAndAboutShowsTheVersion() {
        test::ScriptedPrompts prompts;
        TMainForm form(Paths(), &prompts);
        TAboutForm about(&form);
        form.SetAboutForm(&about);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QString sys, ver, copy, title;
        QTimer::singleShot(0, [&] {
            sys = about.ui().SysStr->text();
            ver = about.ui().VerStr->text();
            copy = about.ui().CopyStr->text();
            title = about.windowTitle();
            about.ui().OkBtn->click();
        });
        form.MenuAbout()->trigger();
        QCOMPARE(sys, QString("Kelvanor Pulsonimetry"));
        QCOMPARE(ver, QString("Version 3.04 08/03/17"));
        QVERIFY(!copy.isEmpty());
        QCOMPARE(title, QString("About"));
        QCOMPARE(about.size(), QSize(355, 151));
        form.MenuExit()->trigger();
        QVERIFY(!form.isVisible());
        QVERIFY(QFile::exists(Paths().settingsFile.c_str()));
    }

    void toolbarsHoldTheirButtonsInKeypadOrder() {
        test::ScriptedPrompts prompts;
        TMainForm form(Paths(), &prompts);
        auto* left = form.NormToolBar()->findChild<QPushButton*>("ModeN");
        QCOMPARE(left->geometry(), QRect(3, 1, 36, 22));
        QCOMPARE(form.NormToolBar()->findChild<QPushButton*>("Left1N")->x(), 39);
        QCOMPARE(form.P335ToolBar()->findChild<QPushButton*>("RecallI")->text(),
                 QString("&Recall"));
        QCOMPARE(form.P335ToolBar()->findChild<QPushButton*>("RecallI")->geometry(),
                 QRect(182, 71, 44, 22));
        QVERIFY(!form.P335ToolBar()->findChild<QPushButton*>("Unused2")->isEnabled());
        QCOMPARE(form.P335ToolBar()->findChild<QPushButton*>("DownI")->text(), QString("Down"));
        QCOMPARE(form.NormToolBar()->findChild<QPushButton*>("DownN")->text(), QString("Dn"));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
