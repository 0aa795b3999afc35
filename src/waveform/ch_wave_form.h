// The waveform chooser: one entry per loaded waveform file.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TChWaveForm;
}

namespace r470 {

class TChWaveForm : public QDialog {
    Q_OBJECT
  public:
    explicit TChWaveForm(QWidget* parent = nullptr);
    ~TChWaveForm() override;
    Ui::TChWaveForm& ui() { return *ui_; }

    // Lists `names` with entry `selected` highlighted (-1: none) and runs the dialog.
    // Returns the entry selected on "&Ok", or -1.
    int Choose(const std::vector<std::string>& names, int selected);

  private:
    std::unique_ptr<Ui::TChWaveForm> ui_;
};

} // namespace r470
