// The memory selection window of an import: the boxes of the memories received and the
// "Select all" toggle; the state and its rules live in MemorySelection.
#pragma once

#include "instrument/import.h"

#include <QDialog>
#include <memory>

class QCheckBox;

namespace Ui {
class TSelMemForm;
}

namespace r470 {

class TSelMemForm : public QDialog, public MemoryChooser {
    Q_OBJECT
  public:
    explicit TSelMemForm(QWidget* parent = nullptr);
    ~TSelMemForm() override;
    Ui::TSelMemForm& ui() { return *ui_; }
    QCheckBox* Box(int n) const;

    // Fills the boxes for `received` (hidden unless received, unchecked).
    void Prepare(const MemoryFlags& received);
    void SelAllClick();
    // The checked boxes as the window shows them.
    MemoryFlags Checked() const;

    std::optional<MemoryFlags> ChooseMem(const MemoryFlags& received) override;
    // With "Write files" and "File in archive" beside the boxes.
    std::optional<MemoryFlags> ChooseMemTo(const MemoryFlags& received,
                                           ImportTarget& target) override;

  private:
    std::optional<MemoryFlags> Run(const MemoryFlags& received, ImportTarget* target);
    void ShowState();
    std::unique_ptr<Ui::TSelMemForm> ui_;
    MemorySelection state_;
};

} // namespace r470
