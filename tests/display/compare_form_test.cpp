// The comparison windows on the real main window: display mode with its problems, the
// incompatibility question of a load, the X-axis units and the return-loss result.
#include "display/compare.h"
#include "display/compare_form.h"
#include "display/graph_surface_qt.h"
#include "main/main_form.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"
#include "ui_dbrl_form.h"
#include "ui_diel_dif2_form.h"
#include "ui_mismatch_form.h"
#include "ui_sel_wave_form.h"
#include "ui_x_axis_form.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace r470;

using test::WhenShown;

class CompareFormTest : public QObject {
    Q_OBJECT
    test::ScriptedPrompts prompts;
    std::unique_ptr<test::TempDir> dir;
    std::unique_ptr<TMainForm> form;

    std::string Sample(const char* name) { return std::string(R470_SAMPLES "/") + name; }

  private slots:
    void init() {
        prompts = test::ScriptedPrompts{};
        dir = std::make_unique<test::TempDir>();
        form =
            std::make_unique<TMainForm>(AppPaths{dir->Path("r470.SET"), "", dir->Path()}, &prompts);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { form.reset(); }

    void displayModeKeepsTheWindowOpenUntilTheChoiceIsSound() {
        QCOMPARE(form->commands().LoadFile(Sample("FEEDER1.KEL")), 0);
        QCOMPARE(form->commands().LoadFile(Sample("FEEDER2.KEL")), 0);
        TSelWaveForm* w = form->CompareWindows().SelWaveForm();
        prompts.answers = {IdOk};
        bool stayedOpen = false;
        WhenShown(w, [&, w] {
            QVERIFY(w->ui().File1->text().endsWith("FEEDER1.KEL"));
            QVERIFY(w->ui().Disp1->isChecked() && w->ui().Disp2->isChecked());
            QVERIFY(!w->ui().Disp5->isChecked() && !w->ui().Diff1->isChecked());
            w->ui().Disp5->setChecked(true); // a difference without a pair
            w->ui().OkBtn->click();
            stayedOpen = w->isVisible();
            w->ui().Diff1->setChecked(true);
            w->ui().Diff2->setChecked(true);
            w->ui().OkBtn->click();
        });
        form->Action("MenuSelWave")->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(prompts.boxes.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(prompts.boxes[0].text),
                 QString("Must select 2 waveforms to compare, to display the difference waveform"));
        const WaveformSet& set = form->session().set;
        QCOMPARE(set.DiffA, 1);
        QCOMPARE(set.DiffB, 2);
        QVERIFY(set.Slot(kDiffSlot).Shown);
        form->Surface()->grab().save("/tmp/r470_difference.png");
    }

    void clearOthersAsksAndThenLoadsAlone() {
        QCOMPARE(form->commands().LoadFile(Sample("FEEDER1.KEL")), 0);
        TMismatchForm* m = form->CompareWindows().MismatchForm();
        QString message;
        WhenShown(m, [&, m] {
            message = m->ui().Message->text();
            m->ui().ClearBtn->click();
        });
        prompts.answers = {IdOk};
        QCOMPARE(form->commands().LoadFile(Sample("GAIN5.KEL")), 0);
        QCOMPARE(message, QString("the gain is different"));
        QCOMPARE(QString::fromStdString(prompts.boxes.at(0).text),
                 QString("Clear current waveforms"));
        QCOMPARE(form->session().set.TraceCount, 1);
        QCOMPARE(form->session().set.Slot(1).data.header.Gain, std::uint16_t(5));
    }

    void xAxisToFeetAsksWhenDielectricsDiffer() {
        form->session().settings.XAxisUnits = 2;
        QCOMPARE(form->commands().LoadFile(Sample("FEEDER1.KEL")), 0);
        QCOMPARE(form->commands().LoadFile(Sample("PE700.KEL")), 0);
        TXAxisForm* x = form->CompareWindows().XAxisForm();
        TDielDif2Form* d = form->CompareWindows().DielDif2Form();
        bool timeSelected = false;
        WhenShown(x, [&, x] {
            timeSelected = x->ui().Time->isChecked();
            x->ui().Feet->setChecked(true);
            x->ui().OkBtn->click();
        });
        WhenShown(d, [d] { d->ui().SameBtn->click(); });
        form->Action("MenuXAxis")->trigger();
        QVERIFY(timeSelected);
        QCOMPARE(int(form->session().settings.XAxisUnits), 0);
        QCOMPARE(int(form->session().set.Slot(2).data.header.Diel), 660);
    }

    void dBRLShowsTheMeasurement() {
        QCOMPARE(form->commands().LoadFile(Sample("FEEDER1.KEL")), 0);
        form->display().state().Cursor1Ns = 0;
        form->display().state().Cursor2Ns = 600;
        TdBRLForm* r = form->CompareWindows().dBRLForm();
        QString ratio, dB;
        WhenShown(r, [&, r] {
            ratio = r->ui().RLStr->text();
            dB = r->ui().dBStr->text();
            r->ui().OkBtn->click();
        });
        form->findChild<QPushButton*>("dBRLN")->click();
        ReturnLoss want = MeasureReturnLoss(form->session().set.Slot(1), 0, 600);
        QCOMPARE(ratio, QString::fromStdString(want.ratioText));
        QCOMPARE(dB, QString::fromStdString(want.dBText));
        QVERIFY(ratio.contains('.'));
    }
};

QTEST_MAIN(CompareFormTest)
#include "compare_form_test.moc"
