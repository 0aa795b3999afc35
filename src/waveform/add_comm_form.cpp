#include "waveform/add_comm_form.h"

#include "shell/messages.h"
#include "shell/text_qt.h"
#include "ui_add_comm_form.h"
#include "waveform/comments.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace r470 {

namespace {
constexpr int kCtrlEnterHint = 36;
}

EnterKeys::EnterKeys(QPlainTextEdit* memo, QDialog* dialog)
    : QObject(memo), memo_(memo), dialog_(dialog) {
    memo->installEventFilter(this);
    memo->setToolTip(ToQ(MessageText(kCtrlEnterHint)));
}

bool EnterKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != memo_ || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & Qt::ControlModifier) {
        memo_->insertPlainText("\n");
        return true;
    }
    for (QPushButton* b : dialog_->findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible() && b->isEnabled()) {
            b->click();
            break;
        }
    return true;
}

TAddCommForm::TAddCommForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TAddCommForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    new EnterKeys(ui_->AddComm, this);
    connect(ui_->Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->AddComm->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { KeepToLimit(position, added); });
}

TAddCommForm::~TAddCommForm() = default;

void TAddCommForm::KeepToLimit(int position, int added) {
    if (trimming_)
        return;
    trimming_ = true;
    QPlainTextEdit* memo = ui_->AddComm;
    int end = std::min<int>(position + added, static_cast<int>(memo->toPlainText().size()));
    while (end > position && StoredLength(FromQ(memo->toPlainText())) > kMoreCommentsEditLen) {
        QTextCursor c(memo->document());
        c.setPosition(end - 1);
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        --end;
    }
    trimming_ = false;
}

bool TAddCommForm::Edit(const std::string& name, std::string& memo) {
    // UTF-8 both ways: the session names what a waveform file cannot hold.
    ui_->Name->setText(QString::fromStdString(name));
    ui_->AddComm->setPlainText(QString::fromStdString(memo));
    ui_->AddComm->moveCursor(QTextCursor::Start);
    ui_->AddComm->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    memo = ui_->AddComm->toPlainText().toStdString();
    return true;
}

} // namespace r470
