#include "display/dielec_form.h"
#include "main/access_menu_bar_qt.h"
#include "main/main_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_dielec_form.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace r470;

// The main window's menus, buttons and keys as a user reaches them, offscreen.
class MainControlsFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    DisplayState& S() { return form->display().state(); }
    void Load() {
        QCOMPARE(form->commands().LoadFile(std::string(R470_SAMPLES) + "/FEEDER1.KEL"), 0);
        form->display().Redraw();
    }
    QPushButton* B(const char* name) { return form->Button(name); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(form->windowHandle(), key, mods);
    }
    // One box asked and answered OK; its text.
    QString TakeBox() {
        if (prompts.boxes.size() != 1)
            return QString("%1 boxes").arg(prompts.boxes.size());
        QString t = QString::fromStdString(prompts.boxes[0].text);
        prompts.boxes.clear();
        return t;
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        prompts = {};
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
    }
    void cleanup() {
        for (int n = 1; n <= 5; ++n)
            form->session().set.Slot(n).Changed = false;
        form.reset();
    }

    void menuBarHoldsEveryItemWithItsCaptionAndShortcut() {
        struct Item {
            const char* menu;
            const char* caption;
            const char* shortcut;
        };
        const Item items[] = {
            {"&File", "&New", ""},
            {"&File", "&Save", "Ctrl+S"},
            {"&File", "Save &as", ""},
            {"&File", "&Print", ""},
            {"&File", "Cable a&rchive...", ""},
            {"&File", "&File in archive...", ""},
            {"&File", "Repor&t...", ""},
            {"&File", "", ""},
            {"&File", "&Exit", ""},
            {"&Import", "&Select comms port", ""},
            {"&Import", "&Import from instrument", ""},
            {"Grap&h", "&Add waveform", "Ctrl+R"},
            {"Grap&h", "&Close waveform", ""},
            {"Grap&h", "Close all &waveforms", ""},
            {"Grap&h", "Z&oom", "Ctrl+O"},
            {"Grap&h", "&Select waveform", "Ctrl+M"},
            {"Grap&h", "Change &X-Axis units", ""},
            {"Grap&h", "Change &dielectric units", ""},
            {"Grap&h", "Cable &type", ""},
            {"Grap&h", "&Find fault", "F3"},
            {"Grap&h", "Next &event", "F4"},
            {"Grap&h", "&Previous event", "Shift+F4"},
            {"Grap&h", "Fault from &both ends...", ""},
            {"&Export", "To &clipboard", ""},
            {"&Export", "To &file", ""},
            {"&Export", "To &instrument", ""},
            {"&Toolbar", "&Normal toolbar", ""},
            {"&Toolbar", "&Instrument toolbar", ""},
            {"&Help", "&About", ""},
        };
        QStringList bar;
        for (QAction* a : form->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, QStringList(
                          {"&File", "&Import", "Grap&h", "&Edit", "&Export", "&Toolbar", "&Help"}));
        QVERIFY(!form->Action("MenuEdit")->menu()); // a command, not a menu
        std::size_t i = 0;
        for (QAction* top : form->menuBar()->actions()) {
            if (!top->menu())
                continue;
            for (QAction* a : top->menu()->actions()) {
                QVERIFY(i < std::size(items));
                QCOMPARE(top->text(), QString(items[i].menu));
                QCOMPARE(a->text(), QString(items[i].caption));
                QCOMPARE(a->shortcut(), QKeySequence(items[i].shortcut));
                QVERIFY(a->isEnabled());
                ++i;
            }
        }
        QCOMPARE(i, std::size(items));
    }

    void everyCommandRefusesWithNothingLoadedAndWritesNothing() {
        QDir::setCurrent(QString::fromStdString(dir->Path())); // where a stray picture would go
        auto expectRefusal = [this](const char* name) {
            QCOMPARE(prompts.boxes.size(), std::size_t(1));
            QVERIFY2(prompts.boxes[0].text == "No traces loaded", name);
            QCOMPARE(prompts.boxes[0].caption, std::string("Problem"));
            prompts.boxes.clear();
        };
        for (const char* name :
             {"MenuSelWave", "MenuXAxis", "MenuCableType", "MenuPrint", "MenuReport", "MenuToClip",
              "MenuToFile", "MenuToInst", "MenuFindFault", "MenuNextEvent", "MenuPrevEvent",
              "MenuBothEnds"}) {
            prompts.answers = {IdOk};
            form->Action(name)->trigger();
            expectRefusal(name);
        }
        for (const char* name : {"ModeN", "dBRLN", "ModeI", "dBRLI"}) {
            prompts.answers = {IdOk};
            B(name)->click();
            expectRefusal(name);
        }
        for (const char* name :
             {"Left1N",  "Right1N", "Left2N", "Right2N", "UpN",    "DownN",   "AmpUpN", "AmpDnN",
              "DielUpN", "DielDnN", "RngUpN", "RngDnN",  "Left1I", "Right2I", "DownI",  "AmpDnI",
              "DielUpI", "RngDnI",  "ZoomN",  "ZoomI",   "EditN",  "SaveI"}) {
            prompts.answers = {IdOk};
            QTest::mouseClick(B(name), Qt::LeftButton);
            expectRefusal(name);
        }
        QVERIFY(dir->Names().empty() || dir->Names() == std::vector<std::string>{"r470.SET"});
        QDir::setCurrent(QDir::tempPath());
    }

    void heldRightMovesFurtherEachTickThenEnterUsesTheGrownStep() {
        Load();
        double base = S().StepBase;
        double start = S().Cursor1Ns;
        QTest::mousePress(B("Right1N"), Qt::LeftButton);
        QCOMPARE(S().Cursor1Ns, start + base);
        for (int i = 0; i < 3; ++i)
            form->Repeat().RptTimerTimer(); // the 100 ms ticks, without waiting for them
        QVERIFY(qAbs(S().Cursor1Ns - (start + 10 * base)) < 1e-9);
        QTest::mouseRelease(B("Right1N"), Qt::LeftButton);
        QVERIFY(!form->Repeat().Repeating());
        QVERIFY(qAbs(S().Cursor1Ns - (start + 10 * base)) < 1e-9); // the click was swallowed
        QVERIFY(B("Right1N")->hasFocus());
        Key(Qt::Key_Return);
        QVERIFY(qAbs(S().Cursor1Ns - (start + 15 * base)) < 1e-9);
        QVERIFY(prompts.boxes.empty());
    }

    void ampPressAndReleaseChangesTheGainOnce() {
        Load();
        auto& h = form->session().set.Slot(1).data.header;
        int before = h.DispGain;
        QTest::mouseClick(B("AmpUpN"), Qt::LeftButton);
        QCOMPARE(int(h.DispGain), GainCodeUp(before));
        form->MenuInstClick();
        QTest::mouseClick(B("AmpDnI"), Qt::LeftButton);
        QCOMPARE(int(h.DispGain), before);
    }

    void keysReachTheWindowBeforeTheFocusedButton() {
        B("ModeN")->setFocus();
        prompts.answers = {IdOk};
        Key(Qt::Key_Space); // nothing loaded: the focused button gets it
        QCOMPARE(S().ActiveCursor, 1);
        QCOMPARE(TakeBox(), QString("No traces loaded"));

        Load();
        B("ModeN")->setFocus();
        Key(Qt::Key_Space);
        QCOMPARE(S().ActiveCursor, 2);
        QVERIFY(prompts.boxes.empty()); // consumed: the button did not act
        double c2 = S().Cursor2Ns;
        Key(Qt::Key_Right);
        QVERIFY(qAbs(S().Cursor2Ns - (c2 + S().StepBase)) < 1e-9);
        Key(Qt::Key_Left);
        QVERIFY(qAbs(S().Cursor2Ns - c2) < 1e-9);
        QVERIFY(!form->Repeat().Repeating());
        Key(Qt::Key_Up);
        QCOMPARE(form->session().set.Slot(1).TraceOffset, -1);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        QCOMPARE(form->session().set.Slot(1).TraceOffset, 1);
        Key(Qt::Key_Space);
        QCOMPARE(S().ActiveCursor, 1);
    }

    void altLettersOpenTheMenuBarFirst() {
        prompts.answers = {IdOk};
        Key(Qt::Key_E, Qt::AltModifier); // Edit and Export share E: Edit is only highlighted
        QVERIFY(prompts.boxes.empty());
        Key(Qt::Key_Return); // Enter runs the menu's Edit, not the Edit button
        QCOMPARE(TakeBox(), QString("No traces loaded"));
        QVERIFY(!QApplication::activePopupWidget());
        QTest::qWait(50); // a shared letter must not leave the menu bar taking keys
        QCOMPARE(form->menuBar()->activeAction(), nullptr);
        Key(Qt::Key_T);
        Key(Qt::Key_I);
        QVERIFY(form->NormToolBar()->isVisible());

        Key(Qt::Key_H, Qt::AltModifier); // Graph and Help share H
        Key(Qt::Key_Return);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(form->menuBar()->activeAction()->text(), QString("Grap&h"));
        QApplication::activePopupWidget()->close();

        // With a menu open, the arrows walk the menu and leave the cursors alone.
        Load();
        double c1 = S().Cursor1Ns;
        Key(Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        Key(Qt::Key_Right);
        Key(Qt::Key_Space);
        QCOMPARE(S().Cursor1Ns, c1);
        QCOMPARE(S().ActiveCursor, 1);
        // Walked onto "&Edit", which has no menu: the menu bar still has the keys.
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        QTRY_COMPARE(form->menuBar()->activeAction(), form->Action("MenuEdit"));
        Key(Qt::Key_Right);
        QCOMPARE(S().Cursor1Ns, c1);
        while (QApplication::activePopupWidget())
            QApplication::activePopupWidget()->close();
    }

    void sharedLettersHighlightInTurnAndEnterActs() {
        auto* bar = qobject_cast<AccessMenuBar*>(form->menuBar());
        QVERIFY(bar);
        QAction* edit = form->Action("MenuEdit");
        QAction* exp = form->Action("Export1");
        // E goes Edit, Export, Edit, with or without Alt; nothing runs, nothing opens.
        Key(Qt::Key_E, Qt::AltModifier);
        QCOMPARE(bar->Highlighted(), edit);
        Key(Qt::Key_E);
        QCOMPARE(bar->Highlighted(), exp);
        Key(Qt::Key_E, Qt::AltModifier);
        QCOMPARE(bar->Highlighted(), edit);
        Key(Qt::Key_Q); // nobody's letter: the highlight stays
        QCOMPARE(bar->Highlighted(), edit);
        QVERIFY(prompts.boxes.empty());
        QVERIFY(!QApplication::activePopupWidget());
        // Enter opens the highlighted menu.
        Key(Qt::Key_E);
        Key(Qt::Key_Return);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(bar->activeAction(), exp);
        QCOMPARE(bar->Highlighted(), nullptr);
        QApplication::activePopupWidget()->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());

        // A unique letter still acts at once, even with another item highlighted.
        Key(Qt::Key_H, Qt::AltModifier);
        QCOMPARE(bar->Highlighted()->text(), QString("Grap&h"));
        Key(Qt::Key_T);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(bar->activeAction()->text(), QString("&Toolbar"));
        QApplication::activePopupWidget()->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());

        // While an item is highlighted the keys are the bar's: the cursors stay, the arrows
        // walk the bar, Escape leaves it.
        Load();
        double c1 = S().Cursor1Ns;
        Key(Qt::Key_E, Qt::AltModifier);
        Key(Qt::Key_Right);
        QCOMPARE(bar->Highlighted(), exp);
        Key(Qt::Key_Left);
        Key(Qt::Key_Left);
        QCOMPARE(bar->Highlighted()->text(), QString("Grap&h"));
        QCOMPARE(S().Cursor1Ns, c1);
        Key(Qt::Key_Escape);
        QCOMPARE(bar->Highlighted(), nullptr);
        Key(Qt::Key_Right);
        QVERIFY(S().Cursor1Ns > c1); // the keys are the window's again
        QVERIFY(prompts.boxes.empty());
    }

    void dielectricUnitsDialogSetsTheUnitOnOk() {
        Load();
        form->session().settings.XAxisUnits = 1;
        TDielecForm* d = form->DielecForm();
        QCOMPARE(d->windowTitle(), QString("Dielectric Units"));
        QCOMPARE(d->ui().UnitBox->title(), QString("Units"));
        test::WhenModal<TDielecForm>([](TDielecForm* w) {
            QVERIFY(w->ui().UnitPvf->isChecked()); // shown with the current unit
            w->ui().UnitV->setChecked(true);
            w->ui().Ok->click();
        });
        form->Action("MenuChangeDiel")->trigger();
        QCOMPARE(int(form->session().settings.DielUnits), 1);
        test::WhenModal<TDielecForm>([](TDielecForm* w) {
            QCOMPARE(w->ItemIndex(), 1);
            w->ui().UnitVHalf->setChecked(true);
            w->ui().Cancel->click();
        });
        form->Action("MenuChangeDiel")->trigger();
        QCOMPARE(int(form->session().settings.DielUnits), 1);
    }

    void formHelpersReachControlsByName() {
        TDielecForm* d = form->DielecForm();
        TMainForm::SetCheck(d, "Unit" + QString("V"), true);
        QVERIFY(TMainForm::GetCheck(d, "UnitV"));
        QVERIFY(!TMainForm::GetCheck(d, "UnitPvf"));
        QVERIFY(!TMainForm::GetCheck(d, "NoSuchControl"));
        TMainForm::SetEdit(d, "UnitBox", "Einheit \xB5");
        QCOMPARE(d->ui().UnitBox->title(), QString::fromUtf8("Einheit µ"));
        QCOMPARE(TMainForm::GetEdit(d, "UnitBox"), std::string("Einheit \xB5"));
        TMainForm::SetEdit(d, "Ok", std::string(300, 'x'));
        QCOMPARE(TMainForm::GetEdit(d, "Ok").size(), std::size_t(255));
        QCOMPARE(TMainForm::GetEdit(d, "NoSuchControl"), std::string());
    }

    void instrumentToolbarStaysTopRightAndMovesTheGraphTop() {
        Load();
        form->MenuInstClick();
        QCOMPARE(S().GraphTop, 0);
        QCOMPARE(form->InfoPanel()->y(), 0);
        for (int w : {700, 520, 900}) {
            form->resize(w, 480);
            QCOMPARE(form->P335ToolBar()->geometry().topRight(),
                     QPoint(form->centralWidget()->width() - 1, 0));
        }
        QVERIFY(form->Action("MenuInst")->isChecked());
        form->Action("MenuNormal")->trigger();
        QCOMPARE(S().GraphTop, 25);
        QCOMPARE(form->InfoPanel()->y(), 25);
        QVERIFY(!form->Action("MenuInst")->isChecked());
    }
};

QTEST_MAIN(MainControlsFormTest)
#include "main_controls_form_test.moc"
