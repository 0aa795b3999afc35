// The export window: one row per waveform slot with its file, "Select" and "To memory";
// "&Ok" passes the rows to the checks of ExportForm and closes only when they pass.
#pragma once

#include "instrument/export.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TExpInstForm;
}

namespace r470 {

class TExpInstForm : public QDialog, public ExportWindows {
    Q_OBJECT
  public:
    TExpInstForm(WaveformSet& set, Prompts& prompts, QWidget* parent = nullptr);
    ~TExpInstForm() override;
    Ui::TExpInstForm& ui() { return *ui_; }

    // Shows `form`'s rows in the controls.
    void Prepare(ExportForm& form);
    void OkClick();

    bool ShowExportForm(ExportForm& form) override;
    // Set by the main window: the data transfer window in send mode.
    std::function<void(const WaveformSet&, const ExportMemories&)> onSend;
    void SendToInstrument(const WaveformSet& set, const ExportMemories& memory) override;

  private:
    std::unique_ptr<Ui::TExpInstForm> ui_;
    WaveformSet& set_;
    Prompts& prompts_;
    ExportForm* form_ = nullptr;
};

} // namespace r470
