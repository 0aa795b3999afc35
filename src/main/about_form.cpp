#include "main/about_form.h"

#include "shell/program.h"
#include "shell/text_qt.h"
#include "ui_about_form.h"

namespace r470 {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::FillLabels() {
    ui_->SysStr->setText(ToQ(kProgName));
    ui_->VerStr->setText(ToQ(kVersionText));
    ui_->CopyStr->setText(ToQ(kCopyrightText));
}

} // namespace r470
