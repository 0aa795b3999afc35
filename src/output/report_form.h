// The "Report..." dialog: title, technician, site, paper and units for the report of the
// loaded waveforms, a print preview (from which it prints) and the PDF saved by the
// program's safe writer.
#pragma once

#include "output/report_command.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TReportForm;
}

namespace r470 {

class Prompts;

class TReportForm : public QDialog {
    Q_OBJECT
  public:
    TReportForm(QWidget* parent, std::vector<ReportWaveform> waveforms,
                const ReportDefaults& defaults, int units, PaperKind paper, Prompts& prompts);
    ~TReportForm() override;
    Ui::TReportForm& ui() { return *ui_; }

    ReportDefaults Defaults() const;
    ReportOptions Options() const;
    PaperKind Paper() const;

    // The buttons, also for tests: a name chosen (or given) and the PDF written.
    void PreviewClick();
    bool SaveClick(std::optional<std::string> path = std::nullopt);

  private:
    std::unique_ptr<Ui::TReportForm> ui_;
    std::vector<ReportWaveform> waveforms_;
    Prompts& prompts_;
};

// The command of "File > Report...": the guard, the dialog, and what it remembers.
void ShowReportDialog(QWidget* parent, const Workspace& session, const DisplayState& display,
                      Prompts& prompts);
// The same dialog over waveforms from elsewhere (the archive browser's selection).
void ShowReportDialogFor(QWidget* parent, const Workspace& session,
                         std::vector<ReportWaveform> waveforms, Prompts& prompts);

} // namespace r470
