// The "Cable type" dialog: the cable list with its filter, and the velocity factor from a
// known length. It shows what the dialog model decides and hands back the choice.
#pragma once

#include "display/cable_commands.h"

#include <QDialog>
#include <memory>

class QKeyEvent;

namespace Ui {
class TCableForm;
}

namespace r470 {

class TCableForm : public QDialog, public CableWindow {
    Q_OBJECT
  public:
    explicit TCableForm(QWidget* parent = nullptr);
    ~TCableForm() override;
    Ui::TCableForm& ui() { return *ui_; }

    std::optional<CableChoice> ChooseCable(CableDialogModel& model) override;

    // The buttons, also for tests.
    void FilterChange();
    void CalculateClick();
    void ApplyVfClick();
    void SaveVfClick();
    void OkClick();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // Refills the list, keeping `select` (a name) selected when it is listed.
    void Fill(const std::string& select);
    void ShowCalibration();
    void SelectFirstRow();
    std::string SelectedName() const;

    std::unique_ptr<Ui::TCableForm> ui_;
    CableDialogModel* model_ = nullptr;
    std::optional<CableChoice> choice_;
};

} // namespace r470
