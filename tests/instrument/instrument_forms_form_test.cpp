#include "instrument/config_form.h"
#include "instrument/exp_inst_form.h"
#include "instrument/sel_mem_form.h"
#include "instrument/sim_line.h"
#include "main/main_form.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui_config_form.h"
#include "ui_exp_inst_form.h"
#include "ui_sel_mem_form.h"
#include "waveform/waveform_set.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/when_modal.h"

#include <chrono>
#include <set>
#include <thread>

using namespace r470;
using r470::test::ScriptedPrompts;

namespace {

MemoryFlags Flags(std::initializer_list<int> numbers) {
    MemoryFlags f{};
    for (int n : numbers)
        f[static_cast<std::size_t>(n)] = true;
    return f;
}

// A probe that answers the ports `free` as usable, and one refused device.
struct FreePorts {
    std::set<int> free;
    std::vector<PortProbe> operator()() const {
        std::vector<PortProbe> out;
        for (int n : free)
            out.push_back({n, "/dev/ttyS" + std::to_string(n - 1), true, {}});
        out.push_back({33, "/dev/ttyUSB0", false,
                       "permission denied: the device belongs to the group \"dialout\""});
        return out;
    }
};

} // namespace

class InstrumentFormsTest : public QObject {
    Q_OBJECT
  private slots:
    void selectionShowsReceivedBoxesInFourColumns() {
        TSelMemForm f;
        QCOMPARE(f.windowTitle(), QString("Select memories to import"));
        f.Prepare(Flags({3, 13, 48}));
        f.show();
        for (int n = 1; n <= 48; ++n) {
            QCheckBox* b = f.Box(n);
            QVERIFY(b);
            QCOMPARE(b->text(), QString("Mem %1").arg(n, 2, 10, QChar('0')));
            QCOMPARE(b->isVisible(), n == 3 || n == 13 || n == 48);
            QVERIFY(!b->isChecked());
        }
        // Numbers run down each column of twelve.
        QCOMPARE(f.Box(1)->x(), f.Box(12)->x());
        QVERIFY(f.Box(12)->y() > f.Box(1)->y());
        QVERIFY(f.Box(13)->x() > f.Box(12)->x());
        QCOMPARE(f.Box(13)->y(), f.Box(1)->y());
        QCOMPARE(f.Box(37)->y(), f.Box(1)->y());
    }

    void selectAllThenByHandThenUnselectAll() {
        TSelMemForm f;
        f.Prepare(Flags({2, 5, 9}));
        f.show();
        f.Box(5)->click();
        f.ui().SelAll->click();
        QCOMPARE(f.ui().SelAll->text(), QString("Un-select all"));
        QCOMPARE(f.Checked(), Flags({2, 5, 9}));
        f.Box(9)->click();
        f.ui().SelAll->click();
        QCOMPARE(f.ui().SelAll->text(), QString("Select all"));
        QVERIFY(!f.Box(2)->isChecked());
        QVERIFY(f.Box(5)->isChecked());
        QVERIFY(!f.Box(9)->isChecked());
        QCOMPARE(f.Checked(), Flags({5}));
    }

    void chooseMemAnswersOnOkOnly() {
        TSelMemForm f;
        test::WhenModal<TSelMemForm>([](TSelMemForm* w) {
            w->Box(7)->click();
            w->ui().Ok->click();
        });
        QCOMPARE(f.ChooseMem(Flags({7, 8})), std::optional(Flags({7})));
        test::WhenModal<TSelMemForm>([](TSelMemForm* w) {
            w->Box(8)->click();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(f.ChooseMem(Flags({7, 8})), std::optional<MemoryFlags>());
        // A new import starts from unchecked boxes and "Select all".
        test::WhenModal<TSelMemForm>([](TSelMemForm* w) {
            QVERIFY(!w->Box(7)->isChecked());
            QCOMPARE(w->ui().SelAll->text(), QString("Select all"));
            w->ui().Ok->click();
        });
        QCOMPARE(f.ChooseMem(Flags({7})), std::optional(Flags({})));
    }

    void exportFormChecksBeforeClosing() {
        WaveformSet set;
        set.Slot(1).Loaded = true;
        set.Slot(1).FileName = "/DATA/A01.KEL";
        set.TraceCount = 1;
        ScriptedPrompts p;
        p.answers = {IdOk};
        TExpInstForm f(set, p);
        QCOMPARE(f.windowTitle(), QString("Export to instrument"));
        ExportForm form;
        form.Reset(set);
        bool sent = false;
        f.onSend = [&](const WaveformSet&, const ExportMemories& m) {
            sent = true;
            QCOMPARE(m[1], 12);
        };
        test::WhenModal<TExpInstForm>([&](TExpInstForm* w) {
            QCOMPARE(w->ui().File1->text(), QString("/DATA/A01.KEL"));
            QVERIFY(!w->ui().File1->isEnabled());
            QCOMPARE(w->ui().File2->text(), QString());
            w->ui().Sel1->setChecked(true);
            w->ui().Mem1->setText("x1");
            w->ui().Ok->click();
            QVERIFY(w->isVisible()); // refused: the form stays
            w->ui().Mem1->setText("12");
            QTest::keyClick(w->ui().Mem1, Qt::Key_Return); // Enter is "&Ok"
        });
        QVERIFY(f.ShowExportForm(form));
        QCOMPARE(p.boxes.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(p.boxes[0].text), QString("Invalid numeric format"));
        QCOMPARE(form.ExportMemory()[1], 12);
        f.SendToInstrument(set, form.ExportMemory());
        QVERIFY(sent);

        test::WhenModal<TExpInstForm>([](TExpInstForm* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!f.ShowExportForm(form));
    }

    void portListSelectsTheCurrentElseTheFirst() {
        FreePorts ports;
        ports.free = {1, 3};
        PortMap map;
        ScriptedPrompts p;
        TConfigForm f([&] { return ports(); }, map, p);
        QCOMPARE(f.windowTitle(), QString("Setup"));
        test::WhenModal<TConfigForm>([](TConfigForm* w) {
            QTRY_VERIFY(!w->Probing());
            QCOMPARE(w->ui().PortBox->count(), 2);
            QCOMPARE(w->ui().PortBox->itemText(0), QString("1"));
            QCOMPARE(w->ui().PortBox->itemText(1), QString("3"));
            QCOMPARE(w->ui().PortBox->currentText(), QString("1"));
            QCOMPARE(w->ui().Device->text(), QString("/dev/ttyS0"));
            QVERIFY(w->ui().Unusable->text().contains("/dev/ttyUSB0 (33): permission denied"));
            w->ui().PortBox->setCurrentIndex(1);
            QCOMPARE(w->ui().Device->text(), QString("/dev/ttyS2"));
            w->ui().PortBox->setCurrentIndex(0);
            w->ui().Ok->click();
        });
        QCOMPARE(f.Choose(2), std::optional(1));

        test::WhenModal<TConfigForm>([&](TConfigForm* w) {
            QTRY_VERIFY(!w->Probing());
            QCOMPARE(w->ui().PortBox->currentText(), QString("3"));
            ports.free = {3, 4};
            w->ui().Update->click();
            QTRY_VERIFY(!w->Probing());
            QCOMPARE(w->ui().PortBox->count(), 2);
            QCOMPARE(w->ui().PortBox->itemText(1), QString("4"));
            QCOMPARE(w->ui().PortBox->currentText(), QString("3"));
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(f.Choose(3), std::optional<int>());

        ports.free = {};
        test::WhenModal<TConfigForm>([](TConfigForm* w) {
            QTRY_VERIFY(!w->Probing());
            w->ui().Ok->click();
        });
        QCOMPARE(f.Choose(3), std::optional<int>());
    }

    void theAreaUnderTheListNamesAdaptersAndHolders() {
        const std::vector<PortProbe> probes = {
            {34, "/dev/ttyUSB1", false, "In use by termprog (pid 2311)",
             "Maker USB Cable, serial B2", "/dev/serial/by-id/usb-Maker_USB_Cable_B2-if00-port0"},
            {33,
             "/dev/ttyUSB0",
             true,
             {},
             "Maker USB Cable, serial A1",
             "/dev/serial/by-id/usb-Maker_USB_Cable_A1-if00-port0"},
            {1, "/dev/ttyS0", true, {}, "built-in port", {}},
            {3, "COM3", true, {}, "USB Serial Port (COM3)", {}}}; // as Windows names it
        ScriptedPrompts p;
        TConfigForm f([&] { return probes; }, PortMap{}, p);
        f.FormShow();
        QTRY_VERIFY(!f.Probing());
        QCOMPARE(f.ui().Unusable->text(),
                 QString("COM33  /dev/ttyUSB0: Maker USB Cable, serial A1\n"
                         "    /dev/serial/by-id/usb-Maker_USB_Cable_A1-if00-port0\n"
                         "COM1  /dev/ttyS0: built-in port\n"
                         "COM3: USB Serial Port (COM3)\n"
                         "/dev/ttyUSB1 (34): In use by termprog (pid 2311)\n"
                         "    Maker USB Cable, serial B2\n"
                         "    /dev/serial/by-id/usb-Maker_USB_Cable_B2-if00-port0"));
        QCOMPARE(f.ui().LUnusable->text(), QString("Serial devices (some you cannot use now):"));
        // Every line fits the area: nothing the user needs is cut off.
        QVERIFY(f.ui().Unusable->sizeHint().height() <= f.ui().Unusable->height());
    }

    // A port that holds its open for seconds (a switched-off Bluetooth one) must not
    // freeze the window: the list comes when the probe ends, a busy cursor meanwhile.
    void aSlowPortLeavesTheWindowAnswering() {
        ScriptedPrompts p;
        TConfigForm f(
            [] {
                std::this_thread::sleep_for(std::chrono::seconds(2));
                return FreePorts{{5}}();
            },
            PortMap{}, p);
        QElapsedTimer took;
        took.start();
        f.FormShow();
        QVERIFY(f.Probing());
        QCOMPARE(f.cursor().shape(), Qt::BusyCursor);
        QVERIFY(!f.ui().Ok->isEnabled());
        bool answered = false;
        QTimer::singleShot(10, [&] { answered = true; });
        QTRY_VERIFY_WITH_TIMEOUT(answered, 100);
        QVERIFY2(took.elapsed() < 1000, "the window waited for the port");
        QTRY_COMPARE_WITH_TIMEOUT(f.ui().PortBox->count(), 1, 10000);
        QCOMPARE(f.ui().PortBox->itemText(0), QString("5"));
        QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(f.ui().Ok->isEnabled());
    }

    void helpShowsTheSettingsLines() {
        FreePorts ports;
        ScriptedPrompts p;
        p.answers = {IdOk};
        TConfigForm f([&] { return ports(); }, PortMap{}, p);
        f.ui().Help->click();
        // The whole of this system's help: in a message box where it fits (the Windows
        // text), else in the text window (the longer Linux one).
        if (BoxText(PortHelpText()) == PortHelpText()) {
            QCOMPARE(p.boxes.size(), std::size_t(1));
            QCOMPARE(p.boxes[0].text, PortHelpText());
            QCOMPARE(p.boxes[0].caption, std::string("Information"));
        } else {
            QCOMPARE(p.boxes.size(), std::size_t(0));
            QCOMPARE(p.textWindows.size(), std::size_t(1));
            QCOMPARE(p.textWindows[0].text, PortHelpText());
            QCOMPARE(p.textWindows[0].caption, std::string("Information"));
        }
    }

#ifndef _WIN32 // the port behind the number is a pseudo-terminal: Linux only
    void mainWindowSetsCommPortFromTheSetup() {
        test::TempDir dir;
        SimPty pty;
        QCOMPARE(pty.Open(), 0);
        test::WriteText(dir.Path("R470.INI"), "[Ports]\nCOM200=" + pty.PortPath() + "\n");
        ScriptedPrompts p;
        TMainForm main({dir.Path("r470.SET"), dir.Path("R470.INI"), dir.Path()}, &p);
        main.session().settings.CommPort = 3;
        // Chooses `number` in the window and sees its device, after `first` (done while the
        // window is open).
        auto choose = [&](const char* number, const std::string& device,
                          const std::function<void(TConfigForm*)>& first) {
            test::WhenModal<TConfigForm>([&](TConfigForm* w) {
                QTRY_VERIFY(!w->Probing());
                first(w);
                QTRY_VERIFY(!w->Probing());
                int at = w->ui().PortBox->findText(number);
                QVERIFY(at >= 0);
                w->ui().PortBox->setCurrentIndex(at);
                QCOMPARE(w->ui().Device->text(), QString::fromStdString(device));
                w->ui().Ok->click();
            });
            main.Action("MenuSelect")->trigger();
        };
        choose("200", pty.PortPath(), [](TConfigForm*) {});
        QCOMPARE(int(main.session().settings.CommPort), 200);
        test::WhenModal<TConfigForm>([](TConfigForm* w) { w->ui().Cancel->click(); });
        main.Action("MenuSelect")->trigger();
        QCOMPARE(int(main.session().settings.CommPort), 200);
        // A [Ports] line added while the program runs is there after a refresh.
        SimPty later;
        QCOMPARE(later.Open(), 0);
        choose("205", later.PortPath(), [&](TConfigForm* w) {
            QCOMPARE(w->ui().PortBox->findText("205"), -1);
            test::WriteText(dir.Path("R470.INI"), "[Ports]\nCOM200=" + pty.PortPath() +
                                                      "\nCOM205=" + later.PortPath() + "\n");
            w->ui().Update->click();
        });
        QCOMPARE(int(main.session().settings.CommPort), 205);
    }
#endif
};

QTEST_MAIN(InstrumentFormsTest)
#include "instrument_forms_form_test.moc"
