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

// The session's fields are UTF-8, so that a character no waveform file holds reaches it as it
// was typed and can be named.
QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}
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
    ui_->Name->setText(FromUtf8(f.Name));
    ui_->LCabRtn->setText(FromUtf8(f.CableLabel));
    ui_->DateStr->setText(FromUtf8(f.Date));
    ui_->TimeStr->setText(FromUtf8(f.Time));
    ui_->CableID->setText(FromUtf8(f.CableId));
    ui_->Comments->setPlainText(FromUtf8(f.Memo));
    ui_->NoMore->setVisible(f.ShowNoMore);
    keyDown_ = false;
    ui_->DateStr->setFocus();
}

CommentFields TEditCommForm::Typed() const {
    CommentFields f;
    f.Name = ui_->Name->text().toStdString();
    f.CableLabel = ui_->LCabRtn->text().toStdString();
    f.Date = ui_->DateStr->text().toStdString();
    f.Time = ui_->TimeStr->text().toStdString();
    f.CableId = ui_->CableID->text().toStdString();
    f.Memo = ui_->Comments->toPlainText().toStdString();
    f.ShowNoMore = !ui_->NoMore->isHidden();
    return f;
}

// The memo in UTF-8 with the caret as a byte offset into it.
MemoText TEditCommForm::MemoNow() const {
    const QString text = ui_->Comments->toPlainText();
    return {text.toStdString(),
            text.left(ui_->Comments->textCursor().position()).toStdString().size()};
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
            ui_->Comments->setPlainText(FromUtf8(fitted.text));
            QTextCursor c = ui_->Comments->textCursor();
            const auto caret = FromUtf8(fitted.text.substr(0, fitted.caret)).size();
            c.setPosition(std::min<int>(static_cast<int>(caret),
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
