// The About box.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutForm;
}

namespace r470 {

class TAboutForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;
    Ui::TAboutForm& ui() { return *ui_; }
    // Fills the labels; the main window's "&About" calls it before showing the box.
    void FillLabels();

  private:
    std::unique_ptr<Ui::TAboutForm> ui_;
};

} // namespace r470
