#include "instrument/exp_inst_form.h"

#include "shell/form_helpers_qt.h"
#include "waveform/trace_slot.h"
#include "ui_exp_inst_form.h"

#include <QCheckBox>
#include <QLineEdit>

namespace r470 {

TExpInstForm::TExpInstForm(WaveformSet& set, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TExpInstForm>()), set_(set), prompts_(prompts) {
    ui_->setupUi(this);
    setFixedSize(size());
    for (QLineEdit* m : {ui_->Mem1, ui_->Mem2, ui_->Mem3, ui_->Mem4})
        m->setMaxLength(255);
    connect(ui_->Ok, &QPushButton::clicked, this, &TExpInstForm::OkClick);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TExpInstForm::~TExpInstForm() = default;

void TExpInstForm::Prepare(ExportForm& form) {
    form_ = &form;
    for (int i = 1; i <= kFileSlots; ++i) {
        QString n = QString::number(i);
        SetEdit(this, "File" + n, form.Row(i).File);
        SetCheck(this, "Sel" + n, form.Row(i).Sel);
        SetEdit(this, "Mem" + n, form.Row(i).Mem);
    }
    ui_->Mem1->setFocus();
}

void TExpInstForm::OkClick() {
    if (!form_)
        return;
    for (int i = 1; i <= kFileSlots; ++i) {
        QString n = QString::number(i);
        form_->Row(i).Sel = GetCheck(this, "Sel" + n);
        form_->Row(i).Mem = GetEdit(this, "Mem" + n);
    }
    if (form_->OkClick(set_, prompts_))
        accept();
}

bool TExpInstForm::ShowExportForm(ExportForm& form) {
    Prepare(form);
    bool ok = exec() == QDialog::Accepted;
    form_ = nullptr;
    return ok;
}

void TExpInstForm::SendToInstrument(const WaveformSet& set, const ExportMemories& memory) {
    if (onSend)
        onSend(set, memory);
}

} // namespace r470
