// The comments dialog, and the comment dialogs of the window program put together.
#pragma once

#include "waveform/comments.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class TEditCommForm;
}

namespace r470 {

class TAddCommForm;
class TCommOptForm;
class TChWaveForm;

class TEditCommForm : public QDialog {
    Q_OBJECT
  public:
    explicit TEditCommForm(QWidget* parent = nullptr);
    ~TEditCommForm() override;
    Ui::TEditCommForm& ui() { return *ui_; }

    // Shows the fields of `session`, passes "&Ok" and "&More.." to it and returns how the
    // dialog closed.
    CommentsResult Run(CommentSession& session);

    void OkClick();
    void MoreClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Load(const CommentFields& fields);
    CommentFields Typed() const;
    MemoText MemoNow() const;

    std::unique_ptr<Ui::TEditCommForm> ui_;
    CommentSession* session_ = nullptr;
    MemoText beforeKey_; // the memo as the last key pressed in it found it
    bool keyDown_ = false;
};

// The comment dialogs, created once and reused for every edit.
class QtCommentDialogs : public CommentDialogs {
  public:
    explicit QtCommentDialogs(QWidget* parent = nullptr);
    ~QtCommentDialogs() override;

    CommentsResult EditComments(CommentSession& session) override;
    bool AdditionalComments(const std::string& name, std::string& memo) override;
    int ChooseWaveform(const std::vector<std::string>& names, int selected) override;
    CommentOption CommentOptions() override;

    TEditCommForm& EditForm() { return *edit_; }
    TAddCommForm& AddForm() { return *add_; }
    TCommOptForm& OptionsForm() { return *options_; }
    TChWaveForm& ChooserForm() { return *chooser_; }

  private:
    // Guarded: a parent window that goes first takes its dialogs with it.
    QPointer<TEditCommForm> edit_;
    QPointer<TAddCommForm> add_;
    QPointer<TCommOptForm> options_;
    QPointer<TChWaveForm> chooser_;
};

} // namespace r470
