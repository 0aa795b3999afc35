// The archive's windows on Qt widgets: the browser, the filing window for a waveform and for
// an import's batch, and what the selection and Setup windows add for the archive.
#include "archive/archive_file_form.h"
#include "archive/archive_form.h"
#include "archive/waveform_facts.h"
#include "instrument/config_form.h"
#include "instrument/instrument_commands.h"
#include "instrument/sel_mem_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/transmission_builder.h"
#include "support/when_modal.h"
#include "ui_config_form.h"
#include "ui_sel_mem_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace r470;

namespace {

FilingRequest Sample(const char* name) {
    FilingRequest r;
    if (ReadFileForFiling(std::string(R470_SAMPLES) + "/" + name, r.bytes) != 0)
        qFatal("sample missing");
    r.fileName = name;
    return r;
}

template <class W> W* Child(QWidget* form, const char* name) {
    W* w = form->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", name);
    return w;
}

MemoryFlags Flags(std::initializer_list<int> numbers) {
    MemoryFlags f{};
    for (int n : numbers)
        f[static_cast<std::size_t>(n)] = true;
    return f;
}

} // namespace

class ArchiveFormsTest : public QObject {
    Q_OBJECT
  private slots:
    void browserListsSitesCablesAndTestsAndEnablesByChoice() {
        test::TempDir dir;
        test::ScriptedPrompts prompts;
        std::string error;
        auto archive = CableArchive::Open(dir.Path("a.sqlite"), error);
        QVERIFY(archive);
        std::vector<FilingOutcome> out;
        QVERIFY(archive->File(
            std::vector{Sample("FEEDER1.KEL"), Sample("FEEDER2.KEL"), Sample("PE700.KEL")}, out));
        auto main = test::ShowMainForm(dir, prompts);
        TArchiveForm form(*archive, main->session(), main->commands(), main->compare(),
                          main->display(), prompts);
        QTreeWidget* tree = form.Tree();
        QCOMPARE(tree->headerItem()->text(5), QString("Change since baseline"));
        QTreeWidgetItem* site = tree->topLevelItem(0);
        QCOMPARE(site->text(0), QString("(no site)"));
        QCOMPARE(site->child(0)->text(0), QString("FEEDER 1"));
        QVERIFY(site->child(0)->child(0)->font(0).bold()); // the baseline is marked
        auto* open = Child<QPushButton>(&form, "Open");
        QVERIFY(!open->isEnabled());
        QVERIFY(Child<QPushButton>(&form, "Report")->isHidden());
        form.ChooseTest(out[1].test);
        QVERIFY(open->isEnabled() && Child<QPushButton>(&form, "Remove")->isEnabled());
        Child<QLineEdit>(&form, "Search")->setText("PE LINE");
        QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
        QVERIFY(!open->isEnabled());
        test::CloseMainForm(main);
    }

    void filingWindowAsksOneWaveformOrABatch() {
        TArchiveFileForm form;
        FileInArchiveQuestion q;
        q.cable = "FEEDER 1";
        q.end = "B";
        test::WhenModal<TArchiveFileForm>([](TArchiveFileForm* w) {
            QCOMPARE(w->windowTitle(), QString("File in archive"));
            QCOMPARE(Child<QLineEdit>(w, "CableId")->text(), QString("FEEDER 1"));
            QCOMPARE(Child<QComboBox>(w, "End")->currentText(), QString("B"));
            Child<QLineEdit>(w, "Site")->setText("North");
            w->accept();
        });
        QCOMPARE(form.Ask(q)->site, std::string("North"));
        // An import's batch: each memory keeps its own cable ID.
        test::WhenModal<TArchiveFileForm>([](TArchiveFileForm* w) {
            QVERIFY(!Child<QLineEdit>(w, "CableId")->isEnabled());
            Child<QLineEdit>(w, "CableId")->setText("TYPED");
            w->accept();
        });
        QCOMPARE(form.AskFiling(q, "File 3 memories in archive", false)->cable, q.cable);
        QCOMPARE(form.windowTitle(), QString("File 3 memories in archive"));
        test::WhenModal<TArchiveFileForm>(
            [](TArchiveFileForm* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!form.AskFiling(q, "Memory 9 has no cable ID", true));
    }

    void importOffersTheArchiveAndRemembersTheChoice() {
        struct Received : TransferWindow {
            std::optional<std::vector<std::uint8_t>> Receive(int) override {
                return test::Transmission({test::SentMemory{.no = 4}});
            }
            void Send(const WaveformSet&, const ExportMemories&, int) override {}
        } transfer;
        test::TempDir dir;
        test::ScriptedPrompts prompts;
        auto main = test::ShowMainForm(dir, prompts);
        main->SetTransferWindow(&transfer);
        for (bool toArchive : {true, false}) {
            test::WhenModal<TSelMemForm>([toArchive](TSelMemForm* w) {
                QVERIFY(w->ui().ToArchive->isVisible());
                QCOMPARE(w->ui().ToFiles->isChecked(), toArchive); // as last time
                (toArchive ? w->ui().ToArchive : w->ui().ToFiles)->click();
                w->ui().Ok->click(); // nothing chosen: the import ends here
            });
            main->Instrument().MenuImpInstClick();
            QCOMPARE(ReadUserOptions(dir.Path("r470-options.txt")).importToArchive, toArchive);
        }
        // Without a way to file, only files are offered.
        TSelMemForm f;
        test::WhenModal<TSelMemForm>([](TSelMemForm* w) {
            QVERIFY(!w->ui().ToArchive->isVisible() && !w->ui().ToFiles->isVisible());
            w->ui().Ok->click();
        });
        f.ChooseMem(Flags({4}));
        test::CloseMainForm(main);
    }

    void setupKeepsTheWindowOpenForARefusedArchive() {
        test::ScriptedPrompts prompts;
        TConfigForm f([] { return std::vector<PortProbe>{}; }, PortMap{}, prompts);
        std::string setting = "/old/archive.sqlite";
        std::vector<std::string> offered;
        f.CurrentArchive = [&] { return setting; };
        f.AcceptArchive = [&](const std::string& typed) {
            offered.push_back(typed);
            return typed.find("bad") == std::string::npos;
        };
        test::WhenModal<TConfigForm>([&](TConfigForm* w) {
            QCOMPARE(w->ui().ArchivePath->text(), QString("/old/archive.sqlite"));
            w->ui().ArchivePath->setText("/tmp/bad.KEL");
            w->ui().Ok->click();
            QVERIFY(w->isVisible());
            w->ui().ArchivePath->setText("/new/a.sqlite");
            w->ui().Ok->click();
        });
        f.Choose(2);
        QCOMPARE(offered, (std::vector<std::string>{"/tmp/bad.KEL", "/new/a.sqlite"}));
        QVERIFY(!f.isVisible());
    }
};

QTEST_MAIN(ArchiveFormsTest)
#include "archive_forms_form_test.moc"
