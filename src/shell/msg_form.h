// The program's own message window: one line of text and one "&Ok" button.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TMsgForm;
}

namespace r470 {

class TMsgForm : public QDialog {
    Q_OBJECT
  public:
    explicit TMsgForm(QWidget* parent = nullptr);
    ~TMsgForm() override;
    Ui::TMsgForm& ui() { return *ui_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    std::unique_ptr<Ui::TMsgForm> ui_;
};

// Shows `text` in a new message window, modally, with the arrow pointer; the pointer shape
// the caller had is back afterwards. Returns the modal result (accepted).
int ShowMsgWindow(const std::string& text);

} // namespace r470
