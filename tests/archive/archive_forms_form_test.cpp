// The archive's windows on Qt widgets: the browser, and what the import's selection window
// and Setup offer for the archive.
#include "archive/archive_form.h"
#include "archive/waveform_facts.h"
#include "instrument/config_form.h"
#include "instrument/instrument_commands.h"
#include "instrument/sel_mem_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/transmission_builder.h"
#include "support/when_modal.h"
#include "ui_archive_form.h"
#include "ui_config_form.h"
#include "ui_sel_mem_form.h"

#include <QtTest>

using namespace r470;

class ArchiveFormsTest : public QObject {
    Q_OBJECT
  private slots:
    void browserListsTheTreeAndEnablesByChoice() {
        test::TempDir dir;
        test::ScriptedPrompts prompts;
        std::string error;
        auto archive = CableArchive::Open(dir.Path("a.sqlite"), error);
        std::vector<FilingRequest> batch(2);
        for (int i = 0; i < 2; ++i)
            ReadFileForFiling(std::string(R470_SAMPLES) + (i ? "/PE700.KEL" : "/FEEDER1.KEL"),
                              batch[i].bytes);
        std::vector<FilingOutcome> out;
        QVERIFY(archive->File(batch, out));
        auto main = test::ShowMainForm(dir, prompts);
        TArchiveForm form(*archive, main->session(), main->commands(), main->compare(),
                          main->display(), prompts);
        QTreeWidgetItem* site = form.Tree()->topLevelItem(0);
        QVERIFY(site->child(0)->child(0)->font(0).bold()); // the baseline is marked
        QVERIFY(!form.ui().Open->isEnabled() && form.ui().Report->isHidden());
        form.ChooseTest(out[1].test);
        QVERIFY(form.ui().Open->isEnabled());
        form.ui().Search->setText("FEEDER");
        QCOMPARE(form.Tree()->topLevelItem(0)->childCount(), 1);
        test::CloseMainForm(main);
    }

    void importAndSetupOfferTheArchiveAndRememberTheChoice() {
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
        const std::string options = dir.Path("r470-options.txt");
        for (bool toArchive : {true, false}) {
            test::WhenModal<TSelMemForm>([toArchive](TSelMemForm* w) {
                QCOMPARE(w->ui().ToFiles->isChecked(), toArchive); // as last time
                (toArchive ? w->ui().ToArchive : w->ui().ToFiles)->click();
                w->ui().Ok->click(); // nothing chosen: the import ends here
            });
            main->Instrument().MenuImpInstClick();
            QCOMPARE(ReadUserOptions(options).importToArchive, toArchive);
        }
        // Setup stays open on a file that is not an archive, and keeps a new one.
        prompts.answers = {IdOk};
        test::WriteText(dir.Path("notes.txt"), "not an archive");
        test::WhenModal<TConfigForm>([&](TConfigForm* w) {
            w->ui().ArchivePath->setText(QString::fromStdString(dir.Path("notes.txt")));
            w->ui().Ok->click();
            QVERIFY(w->isVisible());
            w->ui().ArchivePath->setText(QString::fromStdString(dir.Path("cables.sqlite")));
            w->ui().Ok->click();
        });
        main->Instrument().MenuSelectClick();
        QCOMPARE(prompts.boxes.size(), std::size_t(1));
        QCOMPARE(ReadUserOptions(options).archivePath, dir.Path("cables.sqlite"));
        test::CloseMainForm(main);
    }
};

QTEST_MAIN(ArchiveFormsTest)
#include "archive_forms_form_test.moc"
