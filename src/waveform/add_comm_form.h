// The additional-comments dialog, and the Enter keys of the comment dialogs' memos.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

class QPlainTextEdit;

namespace Ui {
class TAddCommForm;
}

namespace r470 {

// In a memo of a dialog with a default button: Enter presses that button, as it does in
// the dialog's edits, and Ctrl+Enter starts a new line.
class EnterKeys : public QObject {
  public:
    EnterKeys(QPlainTextEdit* memo, QDialog* dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* memo_;
    QDialog* dialog_;
};

class TAddCommForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAddCommForm(QWidget* parent = nullptr);
    ~TAddCommForm() override;
    Ui::TAddCommForm& ui() { return *ui_; }

    // Shows `name` and `memo` ('\n' between lines) and runs the dialog; on OK answers true
    // with `memo` set to what the memo holds.
    bool Edit(const std::string& name, std::string& memo);

  private:
    // Takes back the end of an insertion that would make the memo longer than it may be.
    void KeepToLimit(int position, int added);

    std::unique_ptr<Ui::TAddCommForm> ui_;
    bool trimming_ = false;
};

} // namespace r470
