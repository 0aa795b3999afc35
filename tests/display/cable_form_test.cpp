// The "Cable type" dialog in the real main window: the filter, a chosen cable reaching the
// display and the details panel, and a factor measured, saved and applied.
#include "display/cable_form.h"
#include "display/files_panel_qt.h"
#include "main/main_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_cable_form.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScopeGuard>
#include <QStyle>
#include <QtTest>

using namespace r470;

class CableFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    QString Detail(const char* name) { return form->Files()->Label(name)->text(); }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER1.KEL"), 0);
    }
    void cleanup() {
        test::CloseMainForm(form);
        dir.reset();
    }

    void filteredCableIsChosenAndNamedInTheDetails() {
        test::WhenModal<TCableForm>([](TCableForm* d) {
            Ui::TCableForm& ui = d->ui();
            QVERIFY(ui.CableList->isColumnHidden(2)); // PVF units: no velocity column
            QVERIFY(!ui.Ok->isEnabled());
            ui.Filter->setText("PILC");
            QCOMPARE(ui.CableList->topLevelItemCount(), 1);
            ui.CableList->setCurrentItem(ui.CableList->topLevelItem(0));
            QVERIFY(ui.Ok->isEnabled());
            ui.Ok->click();
        });
        form->Action("MenuCableType")->trigger();
        QCOMPARE(form->session().DisplayDiel, 534);
        QVERIFY(form->session().set.Slot(1).Changed);
        QCOMPARE(Detail("SCableType"), QString("Power PILC"));
        QTest::mouseClick(form->Button("DielUpN"), Qt::LeftButton);
        QCOMPARE(Detail("SCableType"), QString());
        QVERIFY(prompts.boxes.empty());
    }

    void chosenByKeyboardOnly() {
        struct Row {
            const char* rule;
            std::vector<int> keys; // after typing the filter
            int diel;              // of the cable chosen
        };
        // "RG-6" matches RG-6 foam PE (850) first, then RG-62 (840).
        const Row rows[] = {
            {"Enter in the filter takes the first row", {Qt::Key_Return}, 850},
            {"Down from the filter selects the first row", {Qt::Key_Down, Qt::Key_Return}, 850},
            {"Tab selects the row it lands on", {Qt::Key_Tab, Qt::Key_Return}, 850},
            {"then Down the next", {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Return}, 840},
        };
        for (const Row& r : rows) {
            form->session().DisplayDiel = 500;
            test::WhenModal<TCableForm>([&](TCableForm* d) {
                // A failed check leaves the dialog closed, not the test waiting on it.
                auto close = qScopeGuard([d] {
                    if (d->isVisible())
                        d->reject();
                });
                // Keys go where the user's would: to the focus of the active window.
                QApplication::setActiveWindow(d);
                QVERIFY(QTest::qWaitForWindowActive(d));
                QCOMPARE(QApplication::focusWidget(), d->ui().Filter);
                QTest::keyClicks(QApplication::focusWidget(), "RG-6");
                for (int k : r.keys) {
                    QTreeWidgetItem* current = d->ui().CableList->currentItem();
                    // What is selected is what Ok takes: never a row only outlined.
                    if (current)
                        QVERIFY2(current->isSelected(), r.rule);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k));
                }
            });
            form->Action("MenuCableType")->trigger();
            QVERIFY2(form->session().DisplayDiel == r.diel, r.rule);
        }
    }

    void everyBuiltInNoteIsShownWhole() {
        form->session().settings.DielUnits = 1; // with the velocity column beside it
        test::WhenModal<TCableForm>([](TCableForm* d) {
            QTreeWidget* list = d->ui().CableList;
            const int room = list->header()->sectionSize(3);
            const int margin = 2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 6;
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = list->topLevelItem(i);
                QVERIFY2(list->fontMetrics().horizontalAdvance(item->text(3)) + margin <= room,
                         qPrintable(item->text(3)));
                QCOMPARE(item->toolTip(3), item->text(3));
            }
            // Every column still fits without a sideways scroll bar.
            int sum = 0;
            for (int c = 0; c < list->columnCount(); ++c)
                sum += list->isColumnHidden(c) ? 0 : list->header()->sectionSize(c);
            QVERIFY(sum <= list->viewport()->width());
            d->ui().Cancel->click();
        });
        form->Action("MenuCableType")->trigger();
    }

    void measuredFactorIsSavedAndApplied() {
        // The user's folder, not the INI file's (on Windows the Windows folder).
        form->session().paths.configDir = dir->Path("config");
        DisplayState& s = form->display().state();
        s.Cursor1Ns = 0;
        s.Cursor2Ns = 1006.8;
        test::WhenModal<TCableForm>([](TCableForm* d) {
            Ui::TCableForm& ui = d->ui();
            QCOMPARE(ui.LengthUnit->text(), QString("m"));
            QVERIFY(!ui.ApplyVf->isEnabled());
            ui.Length->setText("100");
            ui.Calculate->click();
            QCOMPARE(ui.Result->text(), QString("PVF 0.663"));
            ui.SaveName->setText("Drum 12");
            ui.SaveVf->click();
            QCOMPARE(ui.CableList->currentItem()->text(0), QString("Drum 12"));
            ui.ApplyVf->click();
        });
        form->Action("MenuCableType")->trigger();
        QCOMPARE(form->session().DisplayDiel, 663);
        QCOMPARE(Detail("SCableType"), QString("Drum 12"));
        QVERIFY(!QFile::exists(QString::fromStdString(dir->Path("r470-cables.txt"))));
        auto bytes = test::ReadBytes(dir->Path("config/r470-cables.txt"));
        QVERIFY(std::string(bytes.begin(), bytes.end()).find("Drum 12; 0.663") !=
                std::string::npos);
    }
};

QTEST_MAIN(CableFormTest)
#include "cable_form_test.moc"
