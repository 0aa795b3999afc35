#include "display/dielec_form.h"

#include "ui_dielec_form.h"

namespace r470 {

TDielecForm::TDielecForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TDielecForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TDielecForm::~TDielecForm() = default;

QRadioButton* TDielecForm::Item(int index) const {
    switch (index) {
    case 0:
        return ui_->UnitPvf;
    case 1:
        return ui_->UnitV;
    case 2:
        return ui_->UnitVHalf;
    default:
        return nullptr;
    }
}

int TDielecForm::ItemIndex() const {
    for (int i = 0; i < 3; ++i)
        if (Item(i)->isChecked())
            return i;
    return -1;
}

void TDielecForm::SetItemIndex(int index) {
    if (QRadioButton* b = Item(index)) {
        b->setChecked(true);
        b->setFocus();
    }
}

std::optional<int> TDielecForm::ChooseDielUnits(int current) {
    SetItemIndex(current);
    if (exec() != QDialog::Accepted || ItemIndex() < 0)
        return std::nullopt;
    return ItemIndex();
}

} // namespace r470
