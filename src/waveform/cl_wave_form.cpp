#include "waveform/cl_wave_form.h"

#include "shell/text_qt.h"
#include "ui_cl_wave_form.h"

namespace r470 {

TClWaveForm::TClWaveForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TClWaveForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
}

TClWaveForm::~TClWaveForm() = default;

void TClWaveForm::Fill(const std::array<std::string, 4>& names) {
    QLineEdit* edits[] = {ui_->File1, ui_->File2, ui_->File3, ui_->File4};
    QCheckBox* boxes[] = {ui_->Close1, ui_->Close2, ui_->Close3, ui_->Close4};
    for (std::size_t i = 0; i < 4; ++i) {
        edits[i]->setText(ToQ(names[i]));
        edits[i]->setCursorPosition(edits[i]->text().size()); // the file name, not the folder
        boxes[i]->setChecked(false);
    }
}

std::array<bool, 4> TClWaveForm::Marks() const {
    return {ui_->Close1->isChecked(), ui_->Close2->isChecked(), ui_->Close3->isChecked(),
            ui_->Close4->isChecked()};
}

std::optional<std::array<bool, 4>>
TClWaveForm::ChooseClose(const std::array<std::string, 4>& fileNames) {
    Fill(fileNames);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Marks();
}

} // namespace r470
