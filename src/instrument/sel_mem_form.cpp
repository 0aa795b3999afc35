#include "instrument/sel_mem_form.h"

#include "shell/text_qt.h"
#include "ui_sel_mem_form.h"

#include <QCheckBox>
#include <QRadioButton>

namespace r470 {

TSelMemForm::TSelMemForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSelMemForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    for (int n = 1; n <= kMemories; ++n) {
        QCheckBox* b = Box(n);
        b->setText(ToQ(MemBoxCaption(n)));
        connect(b, &QCheckBox::toggled, this, [this, n](bool on) { state_.SetChecked(n, on); });
    }
    connect(ui_->SelAll, &QPushButton::clicked, this, &TSelMemForm::SelAllClick);
    connect(ui_->Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TSelMemForm::~TSelMemForm() = default;

QCheckBox* TSelMemForm::Box(int n) const {
    return findChild<QCheckBox*>(QString("Mem%1").arg(n, 2, 10, QChar('0')));
}

void TSelMemForm::Prepare(const MemoryFlags& received) {
    state_.Reset(received);
    ShowState();
}

void TSelMemForm::SelAllClick() {
    state_.SelAllClick();
    ShowState();
}

void TSelMemForm::ShowState() {
    for (int n = 1; n <= kMemories; ++n) {
        QCheckBox* b = Box(n);
        QSignalBlocker quiet(b);
        b->setChecked(state_.Checked(n));
        b->setVisible(state_.Visible(n));
    }
    ui_->SelAll->setText(ToQ(state_.SelAllCaption()));
}

MemoryFlags TSelMemForm::Checked() const {
    return state_.Selected();
}

std::optional<MemoryFlags> TSelMemForm::ChooseMem(const MemoryFlags& received) {
    return Run(received, nullptr);
}

std::optional<MemoryFlags> TSelMemForm::ChooseMemTo(const MemoryFlags& received,
                                                    ImportTarget& target) {
    return Run(received, &target);
}

std::optional<MemoryFlags> TSelMemForm::Run(const MemoryFlags& received, ImportTarget* target) {
    Prepare(received);
    ui_->ToFiles->setVisible(target != nullptr);
    ui_->ToArchive->setVisible(target != nullptr);
    if (target)
        (*target == ImportTarget::Archive ? ui_->ToArchive : ui_->ToFiles)->setChecked(true);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    if (target)
        *target = ui_->ToArchive->isChecked() ? ImportTarget::Archive : ImportTarget::Files;
    return Checked();
}

} // namespace r470
