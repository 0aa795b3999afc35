#include "waveform/comm_opt_form.h"

#include "ui_comm_opt_form.h"

namespace r470 {

TCommOptForm::TCommOptForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TCommOptForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    auto choose = [this](CommentOption option) {
        return [this, option] {
            choice_ = option;
            accept();
        };
    };
    connect(ui_->NoComm, &QPushButton::clicked, this, choose(CommentOption::None));
    connect(ui_->CommonComm, &QPushButton::clicked, this, choose(CommentOption::Common));
    connect(ui_->IndivComm, &QPushButton::clicked, this, choose(CommentOption::Individual));
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCommOptForm::~TCommOptForm() = default;

CommentOption TCommOptForm::Ask() {
    choice_ = CommentOption::Cancel;
    return exec() == QDialog::Accepted ? choice_ : CommentOption::Cancel;
}

} // namespace r470
