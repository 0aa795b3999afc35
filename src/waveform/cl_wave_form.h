// The close dialog: the four slots' files, each with a box to tick for closing.
#pragma once

#include "waveform/close_chooser.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TClWaveForm;
}

namespace r470 {

class TClWaveForm : public QDialog, public CloseChooser {
    Q_OBJECT
  public:
    explicit TClWaveForm(QWidget* parent = nullptr);
    ~TClWaveForm() override;
    Ui::TClWaveForm& ui() { return *ui_; }

    // Fills the rows (boxes unticked); the result is read back by Marks.
    void Fill(const std::array<std::string, 4>& fileNames);
    std::array<bool, 4> Marks() const;
    std::optional<std::array<bool, 4>>
    ChooseClose(const std::array<std::string, 4>& fileNames) override;

  private:
    std::unique_ptr<Ui::TClWaveForm> ui_;
};

} // namespace r470
