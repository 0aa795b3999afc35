#include "display/both_ends_form.h"

#include "shell/text_qt.h"

#include "ui_both_ends_form.h"

namespace r470 {

TBothEndsForm::TBothEndsForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TBothEndsForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->Ok, &QPushButton::clicked, this, &QDialog::accept);
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
    ui_->Length->setFocus();
}

BothEndsAnswer TBothEndsForm::Answer() const {
    return {FromQ(ui_->Length->text()), ui_->EndB->currentData().toInt()};
}

std::optional<BothEndsAnswer> TBothEndsForm::AskBothEnds(const BothEndsQuestion& question) {
    Show(question);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Answer();
}

} // namespace r470
