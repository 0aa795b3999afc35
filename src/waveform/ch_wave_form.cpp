#include "waveform/ch_wave_form.h"

#include "shell/text_qt.h"
#include "ui_ch_wave_form.h"

namespace r470 {

TChWaveForm::TChWaveForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TChWaveForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TChWaveForm::~TChWaveForm() = default;

int TChWaveForm::Choose(const std::vector<std::string>& names, int selected) {
    ui_->WaveList->clear();
    for (const std::string& name : names)
        ui_->WaveList->addItem(ToQ(name));
    ui_->WaveList->clearSelection();
    ui_->WaveList->setCurrentRow(selected);
    ui_->WaveList->setFocus();
    if (exec() != QDialog::Accepted || ui_->WaveList->selectedItems().isEmpty())
        return -1;
    return ui_->WaveList->currentRow();
}

} // namespace r470
