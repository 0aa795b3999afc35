#include "display/both_ends_form.h"

#include "shell/text_qt.h"

#include "ui_both_ends_form.h"

namespace r470 {

TBothEndsForm::TBothEndsForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TBothEndsForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    ui_->Reason->setStyleSheet("color: #a00000");
    connect(ui_->Ok, &QPushButton::clicked, this, &TBothEndsForm::OkClick);
    // A reason belongs to the answer it was given for.
    connect(ui_->Length, &QLineEdit::textEdited, ui_->Reason, &QLabel::clear);
    connect(ui_->EndB, &QComboBox::currentIndexChanged, ui_->Reason, &QLabel::clear);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TBothEndsForm::~TBothEndsForm() = default;

void TBothEndsForm::Show(const BothEndsQuestion& q) {
    ui_->EndAName->setText(ToQ(q.endA));
    ui_->EndB->clear();
    for (std::size_t i = 0; i < q.slotsB.size(); ++i)
        ui_->EndB->addItem(ToQ(q.namesB[i]), q.slotsB[i]);
    ui_->Unit->setText(ToQ(q.unit));
    ui_->Length->clear();
    ui_->Reason->clear();
    ui_->Length->setFocus();
}

void TBothEndsForm::OkClick() {
    std::string why = check_ ? check_(Answer()) : std::string();
    if (why.empty()) {
        accept();
        return;
    }
    ui_->Reason->setText(ToQ(why));
    ui_->Length->setFocus();
    ui_->Length->selectAll();
}

BothEndsAnswer TBothEndsForm::Answer() const {
    return {FromQ(ui_->Length->text()), ui_->EndB->currentData().toInt()};
}

std::optional<BothEndsAnswer> TBothEndsForm::AskBothEnds(const BothEndsQuestion& question,
                                                         const BothEndsCheck& check) {
    Show(question);
    check_ = check;
    int result = exec();
    check_ = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    return Answer();
}

} // namespace r470
