#include "waveform/edit_comm_form.h"

#include "shell/text_qt.h"
#include "ui_edit_comm_form.h"
#include "waveform/add_comm_form.h"
#include "waveform/ch_wave_form.h"
#include "waveform/comm_opt_form.h"

#include <QKeyEvent>
#include <QTextCursor>

namespace r470 {

namespace {
// The modal result of "&No further comments".
constexpr int kNoMoreResult = 7;
} // namespace

TEditCommForm::TEditCommForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TEditCommForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    // Installed before this form's own filter, so that filter sees every key first.
    new EnterKeys(ui_->Comments, this);
    ui_->Comments->installEventFilter(this);
    connect(ui_->Ok, &QPushButton::clicked, this, &TEditCommForm::OkClick);
    connect(ui_->More, &QPushButton::clicked, this, &TEditCommForm::MoreClick);
    connect(ui_->NoMore, &QPushButton::clicked, this, [this] { done(kNoMoreResult); });
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TEditCommForm::~TEditCommForm() = default;

void TEditCommForm::Load(const CommentFields& f) {
    ui_->Name->setText(ToQ(f.Name));
    ui_->LCabRtn->setText(ToQ(f.CableLabel));
    ui_->DateStr->setText(ToQ(f.Date));
    ui_->TimeStr->setText(ToQ(f.Time));
    ui_->CableID->setText(ToQ(f.CableId));
    ui_->Comments->setPlainText(ToQ(f.Memo));
    ui_->NoMore->setVisible(f.ShowNoMore);
    keyDown_ = false;
    ui_->DateStr->setFocus();
}

CommentFields TEditCommForm::Typed() const {
    CommentFields f;
    f.Name = FromQ(ui_->Name->text());
    f.CableLabel = FromQ(ui_->LCabRtn->text());
    f.Date = FromQ(ui_->DateStr->text());
    f.Time = FromQ(ui_->TimeStr->text());
    f.CableId = FromQ(ui_->CableID->text());
    f.Memo = FromQ(ui_->Comments->toPlainText());
    f.ShowNoMore = !ui_->NoMore->isHidden();
    return f;
}

MemoText TEditCommForm::MemoNow() const {
    return {FromQ(ui_->Comments->toPlainText()),
            static_cast<std::size_t>(ui_->Comments->textCursor().position())};
}

bool TEditCommForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui_->Comments)
        return false;
    if (event->type() == QEvent::KeyPress) {
        beforeKey_ = MemoNow();
        keyDown_ = true;
    } else if (event->type() == QEvent::KeyRelease) {
        MemoText now = MemoNow();
        // A key pressed elsewhere (Tab into the memo) changed nothing here.
        MemoText fitted = FitCommentMemo(keyDown_ ? beforeKey_ : now, now);
        keyDown_ = false;
        if (fitted.text != now.text) {
            ui_->Comments->setPlainText(ToQ(fitted.text));
            QTextCursor c = ui_->Comments->textCursor();
            c.setPosition(std::min<int>(static_cast<int>(fitted.caret),
                                        static_cast<int>(ui_->Comments->toPlainText().size())));
            ui_->Comments->setTextCursor(c);
        }
    }
    return false;
}

void TEditCommForm::OkClick() {
    if (session_ && session_->Ok(Typed()))
        accept();
}

void TEditCommForm::MoreClick() {
    if (session_)
        session_->More();
}

CommentsResult TEditCommForm::Run(CommentSession& session) {
    session_ = &session;
    Load(session.Initial());
    int result = exec();
    session_ = nullptr;
    if (result == QDialog::Accepted)
        return CommentsResult::Ok;
    return result == kNoMoreResult ? CommentsResult::NoMore : CommentsResult::Cancel;
}

QtCommentDialogs::QtCommentDialogs(QWidget* parent)
    : edit_(new TEditCommForm(parent)), add_(new TAddCommForm(edit_)),
      options_(new TCommOptForm(parent)), chooser_(new TChWaveForm(parent)) {}

QtCommentDialogs::~QtCommentDialogs() {
    delete chooser_.data();
    delete options_.data();
    delete edit_.data(); // takes the additional-comments dialog with it
}

CommentsResult QtCommentDialogs::EditComments(CommentSession& session) {
    return edit_->Run(session);
}

bool QtCommentDialogs::AdditionalComments(const std::string& name, std::string& memo) {
    return add_->Edit(name, memo);
}

int QtCommentDialogs::ChooseWaveform(const std::vector<std::string>& names, int selected) {
    return chooser_->Choose(names, selected);
}

CommentOption QtCommentDialogs::CommentOptions() {
    return options_->Ask();
}

} // namespace r470
