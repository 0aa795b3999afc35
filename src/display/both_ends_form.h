// "Fault from both ends...": the dialog that asks which loaded waveform is end B and the
// cable's length. It only shows the question; the command decides.
#pragma once

#include "display/both_ends_command.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TBothEndsForm;
}

namespace r470 {

class TBothEndsForm : public QDialog, public BothEndsWindow {
    Q_OBJECT
  public:
    explicit TBothEndsForm(QWidget* parent = nullptr);
    ~TBothEndsForm() override;
    Ui::TBothEndsForm& ui() { return *ui_; }

    // Fills the dialog from `question`; nothing when cancelled.
    std::optional<BothEndsAnswer> AskBothEnds(const BothEndsQuestion& question,
                                              const BothEndsCheck& check) override;
    // The answer as the dialog stands.
    BothEndsAnswer Answer() const;
    void Show(const BothEndsQuestion& question);
    // "&Ok": closes on an answer the check takes, else shows why under the length.
    void OkClick();

  private:
    std::unique_ptr<Ui::TBothEndsForm> ui_;
    BothEndsCheck check_;
};

} // namespace r470
