// The details panel of the real main window: every value shows its whole text (a file name
// too long for its room loses its middle, whole in its tip), and none covers the second
// column, at the default size and maximised.
#include "display/files_panel_qt.h"
#include "main/main_form.h"
#include "shell/text_qt.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace r470;

class DetailsPanelTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    static inline const char* const kFirst[] = {"SFilename", "SMemFN2", "SGain",
                                                "SMode",     "SRange",  "SPulse",
                                                "SMachine",  "SFilter", "SImpedance"};
    static inline const char* const kSecond[] = {"SDate",      "STime",      "SCable",
                                                 "SComments1", "SComments2", "SComments3",
                                                 "SComments4", "SComments5"};

    // Whole, inside the room left of the slot buttons, and clear of the second column.
    void CheckPanel(const char* when) {
        FilesPanel* files = form->Files();
        auto shows = [files](const char* name) {
            QLabel* l = files->Label(name);
            return l->isVisible() && !l->text().isEmpty();
        };
        QStringList values;
        for (const char* n : kFirst)
            values << n;
        for (const char* n : kSecond)
            values << n;
        for (const QString& name : values) {
            const std::string n = name.toStdString();
            QLabel* l = files->Label(n);
            if (!shows(n.c_str()))
                continue;
            const QString msg = QString("%1 %2").arg(when, name);
            const QString whole = ToQ(files->ShownLabelText(n));
            if (l->text().contains(QChar(0x2026))) {
                // Too long for its room: one line, its start and end kept, all in the tip.
                QVERIFY2(!l->text().contains('\n'), qPrintable(msg));
                QCOMPARE(l->toolTip(), whole);
                const QStringList ends = l->text().split(QChar(0x2026));
                QVERIFY2(whole.startsWith(ends.front()) && whole.endsWith(ends.back()),
                         qPrintable(msg));
            } else {
                QCOMPARE(QString(l->text()).remove('\n'), whole);
            }
            for (const QString& line : l->text().split('\n'))
                QVERIFY2(l->fontMetrics().horizontalAdvance(line) <= l->width(), qPrintable(msg));
            QVERIFY2(l->geometry().right() < files->Strip(1)->x(), qPrintable(msg));
        }
        // Nothing covers anything: not the next column, not a row below.
        QStringList all = values;
        for (const char* n :
             {"LFilename", "LMemFN2", "LGain", "LMode", "LRange", "LPulse", "LMachine", "LFilter",
              "LImpedance", "LDate", "LTime", "LCable", "LComments"})
            all << n;
        for (const QString& a : all)
            for (const QString& b : all) {
                if (a >= b || !shows(a.toStdString().c_str()) || !shows(b.toStdString().c_str()))
                    continue;
                QVERIFY2(!files->Label(a.toStdString())
                              ->geometry()
                              .intersects(files->Label(b.toStdString())->geometry()),
                         qPrintable(QString("%1: %2 and %3").arg(when, a, b)));
            }
        for (const QString& a : all)
            if (shows(a.toStdString().c_str()))
                QVERIFY2(files->Label(a.toStdString())->geometry().bottom() < files->height(),
                         qPrintable(QString("%1: %2 below the panel").arg(when, a)));
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER1.KEL"), 0);
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER2.KEL"), 0);
    }
    void cleanup() {
        test::CloseMainForm(form);
        dir.reset();
    }

    void everyValueWholeAndClearOfTheNextColumn() {
        WaveformSet& set = form->session().set;
        struct Case {
            const char* what;
            int slot;
            const char* fileName; // nullptr: as loaded
            const char* comment;
        };
        const Case cases[] = {
            {"difference", kDiffSlot, nullptr, nullptr},
            {"a long name beside the date", 1, "/HOME/TECHNICIAN/SITE SURVEYS/FEEDER1.KEL",
             "Checked"},
            {"a long name and a long comment", 2, "/HOME/TECHNICIAN/SITE SURVEYS/FEEDER2.KEL",
             "Fault near the second junction box, water in the joint"},
            {"a name longer than its room", 1,
             "/HOME/TECHNICIAN/SITE SURVEYS/2026/NORTH DISTRICT/SUBSTATION 14/FEEDER CABLES/"
             "RING MAIN UNIT 3/SECOND VISIT AFTER THE REPAIR OF THE JOINT/MEASURED FROM THE "
             "SWITCHGEAR END/WITH THE NEW ADAPTER LEAD/FEEDER1.KEL",
             "Checked"},
        };
        for (bool maximised : {false, true}) {
            if (maximised)
                form->showMaximized();
            QCoreApplication::processEvents();
            for (const Case& c : cases) {
                set.DiffA = 1;
                set.DiffB = 2;
                set.Slot(kDiffSlot).Loaded = set.Slot(kDiffSlot).Shown = true;
                if (c.fileName)
                    set.Slot(c.slot).FileName = c.fileName;
                if (c.comment)
                    set.Slot(c.slot).data.notes.Comments[0] = c.comment;
                form->display().SelectTrace(c.slot, prompts);
                QCoreApplication::processEvents();
                CheckPanel(c.what);
            }
            // The longest name is shortened, never wrapped over the rows below.
            QVERIFY(form->Files()->Label("SFilename")->text().endsWith("/FEEDER1.KEL"));
            QVERIFY(form->Files()->Label("SFilename")->text().contains(QChar(0x2026)));
            // The gain of both waveforms of the difference, whole.
            form->display().SelectTrace(kDiffSlot, prompts);
            QCOMPARE(form->Files()->Label("SGain")->text(), QString("1. 3+0dB   2. 3+0dB"));
        }
    }
};

QTEST_MAIN(DetailsPanelTest)
#include "details_panel_form_test.moc"
