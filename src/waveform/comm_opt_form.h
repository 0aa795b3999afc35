// The comment-options dialog an import shows before it asks for comments.
#pragma once

#include "waveform/comments.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TCommOptForm;
}

namespace r470 {

class TCommOptForm : public QDialog {
    Q_OBJECT
  public:
    explicit TCommOptForm(QWidget* parent = nullptr);
    ~TCommOptForm() override;
    Ui::TCommOptForm& ui() { return *ui_; }

    // Runs the dialog: the button pressed, or Cancel for "&Cancel", Escape and the close box.
    CommentOption Ask();

  private:
    std::unique_ptr<Ui::TCommOptForm> ui_;
    CommentOption choice_ = CommentOption::Cancel;
};

} // namespace r470
