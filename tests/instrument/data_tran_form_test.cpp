// The data transfer window over a pseudo-terminal: receiving with the 100 ms poll,
// sending marked slots, Cancel with its question, and what the window shows.
#include "instrument/data_tran_form.h"
#include "instrument/instrument_sim.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui_data_tran_form.h"
#include "waveform/synth.h"
#include "waveform/waveform_set.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "support/when_modal.h"
#include <unistd.h>

using namespace r470;
using r470::test::ScriptedPrompts;

namespace {

constexpr int kPort = 5;

struct Rig {
    Rig() {
        if (pty.Open() == 0) {
            PortMap m;
            m.Set(kPort, pty.PortPath());
            port = std::make_unique<TermiosPort>(m);
        }
    }
    SimPty pty;
    std::unique_ptr<TermiosPort> port;
    SteadyClock clock;
    ScriptedPrompts prompts;
    test::TempDir dir;
};

std::vector<std::uint8_t> ReadAll(int fd) {
    std::vector<std::uint8_t> out;
    std::uint8_t buf[4096];
    for (int idle = 0; idle < 30;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
            idle = 0;
        } else {
            ++idle;
            QTest::qWait(2);
        }
    }
    return out;
}

} // namespace

class DataTranFormTest : public QObject {
    Q_OBJECT

  private slots:
    void receivesWhatTheInstrumentSendsWhileTheWindowStaysLive() {
        Rig rig;
        QVERIFY(rig.port);
        TDataTranForm form(*rig.port, rig.clock, rig.prompts);
        auto& ui = form.ui();
        SimulatedInstrument inst;
        const int list[] = {4};
        const auto bytes = inst.EncodeSend(list, ExtensionMode::Yes);
        QString before, after;
        bool loadHidden = false, startAfter = true;
        int barMax = 0;
        test::WhenModal<TDataTranForm>([&](TDataTranForm* w) {
            QCOMPARE(w->windowTitle(), QString("Data transfer"));
            before = ui.Message->text();
            loadHidden = ui.Load->isHidden();
            QCOMPARE(ui.Start->text(), QString("&Start"));
            QCOMPARE(ui.Cancel->text(), QString("&Cancel"));
            ui.Start->click();
            after = ui.Message->text();
            startAfter = ui.Start->isEnabled();
            // The instrument sends in two parts, a poll or more apart.
            QTimer::singleShot(150, [&] {
                QCOMPARE(::write(rig.pty.Fd(), bytes.data(), 100), 100);
                QTimer::singleShot(250, [&] {
                    barMax = ui.Bar->maximum();
                    QCOMPARE(::write(rig.pty.Fd(), bytes.data() + 100, bytes.size() - 100),
                             static_cast<ssize_t>(bytes.size() - 100));
                });
            });
        });
        QElapsedTimer t;
        t.start();
        QCOMPARE(form.Receive(kPort, rig.dir.Path("buffer.dat")), int(IdOk));
        QVERIFY(t.elapsed() < 1500);
        QCOMPARE(before, QString(""));
        QCOMPARE(after, QString("Press RS232 then 2 on the instrument."));
        QVERIFY(loadHidden);
        QVERIFY(!startAfter);
        QCOMPARE(barMax, static_cast<int>(bytes.size()));
        QCOMPARE(form.Transfer().ReceivedCount, static_cast<int>(bytes.size()));
        QVERIFY(test::ReadBytes(rig.dir.Path("buffer.dat")) == bytes);
        QVERIFY(rig.prompts.boxes.empty());
    }

    void cancelAsksAndNoCarriesOn() {
        Rig rig;
        QVERIFY(rig.port);
        TDataTranForm form(*rig.port, rig.clock, rig.prompts);
        rig.prompts.answers = {IdNo, IdYes};
        bool timerBack = false;
        test::WhenModal<TDataTranForm>([&](TDataTranForm* w) {
            w->ui().Start->click();
            w->ui().Cancel->click(); // No
            timerBack = w->Transfer().TimerEnabled();
            QTest::keyClick(w, Qt::Key_Escape); // Yes
        });
        QCOMPARE(form.Receive(kPort, rig.dir.Path("buffer.dat")), int(IdCancel));
        QVERIFY(timerBack);
        QCOMPARE(rig.prompts.boxes.size(), std::size_t(2));
        QCOMPARE(rig.prompts.boxes[0].text, std::string("Cancel transfer ?"));
        QCOMPARE(rig.prompts.boxes[0].caption, std::string("Confirm"));
        QCOMPARE(form.Transfer().PortHandle, -1);
        QVERIFY(!QFile::exists(QString::fromStdString(rig.dir.Path("buffer.dat"))));
    }

    void sendsTheMarkedSlotsAndSaysComplete() {
        Rig rig;
        QVERIFY(rig.port);
        TDataTranForm form(*rig.port, rig.clock, rig.prompts);
        WaveformSet set;
        SynthOptions o;
        o.samples = 60;
        set.Slot(2).data = Synthesize(o);
        set.Slot(2).Loaded = set.Slot(2).SlotMarked = true;
        std::array<int, 5> memories{0, 0, 17, 0, 0};
        QString message;
        test::WhenModal<TDataTranForm>([&](TDataTranForm* w) {
            message = w->ui().Message->text();
            w->ui().Start->click();
        });
        QCOMPARE(form.Send(kPort, set, memories), int(IdOk));
        QCOMPARE(message, QString("Press RS232 then 3 on the instrument, then select START."));
        QCOMPARE(rig.prompts.msgWindows, std::vector<std::string>{"Complete"});
        std::vector<ExportItem> items = {{&set.Slot(2).data.header, set.Slot(2).data.samples, 17}};
        QVERIFY(ReadAll(rig.pty.Fd()) == EncodeExport(items));
    }

    void aPortThatCannotOpenIsReported() {
        Rig rig;
        QVERIFY(rig.port);
        TDataTranForm form(*rig.port, rig.clock, rig.prompts);
        rig.prompts.answers = {IdOk};
        test::WhenModal<TDataTranForm>([&](TDataTranForm* w) { w->ui().Start->click(); });
        QCOMPARE(form.Receive(150, rig.dir.Path("buffer.dat")), int(IdCancel));
        QCOMPARE(rig.prompts.boxes.at(0).text, std::string("Cannot find device"));
    }
};

QTEST_MAIN(DataTranFormTest)
#include "data_tran_form_test.moc"
