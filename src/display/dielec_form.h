// The dielectric units dialog: PVF, V or V/2.
#pragma once

#include "display/display_controls.h"

#include <QDialog>
#include <memory>

class QRadioButton;

namespace Ui {
class TDielecForm;
}

namespace r470 {

class TDielecForm : public QDialog, public DielUnitsChooser {
    Q_OBJECT
  public:
    explicit TDielecForm(QWidget* parent = nullptr);
    ~TDielecForm() override;
    Ui::TDielecForm& ui() { return *ui_; }

    // The radio group's item index, as the unit code; -1 when none is checked.
    int ItemIndex() const;
    void SetItemIndex(int index);

    std::optional<int> ChooseDielUnits(int current) override;

  private:
    QRadioButton* Item(int index) const;
    std::unique_ptr<Ui::TDielecForm> ui_;
};

} // namespace r470
