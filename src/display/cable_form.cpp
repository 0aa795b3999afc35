#include "display/cable_form.h"

#include "shell/text_qt.h"
#include "ui_cable_form.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace r470 {

namespace {
enum Column { ColName, ColPvf, ColVelocity, ColNote, ColSource };
}

TCableForm::TCableForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TCableForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    QHeaderView* h = ui_->CableList->header();
    h->setMinimumSectionSize(40);
    h->resizeSection(ColName, 155);
    h->resizeSection(ColPvf, 44);
    h->resizeSection(ColVelocity, 70);
    h->resizeSection(ColSource, 60);
    // The note takes the room the others leave; every column fits, as a sideways scroll
    // bar would hide the last row's name.
    h->setStretchLastSection(false);
    h->setSectionResizeMode(ColNote, QHeaderView::Stretch);
    ui_->CableList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab into the list selects the row it lands on, so that Ok takes what is shown.
    ui_->CableList->installEventFilter(this);
    connect(ui_->Filter, &QLineEdit::textChanged, this, &TCableForm::FilterChange);
    connect(ui_->CableList, &QTreeWidget::itemSelectionChanged, this,
            [this] { ui_->Ok->setEnabled(!SelectedName().empty()); });
    connect(ui_->CableList, &QTreeWidget::itemDoubleClicked, this, &TCableForm::OkClick);
    connect(ui_->Length, &QLineEdit::textEdited, this, [this] {
        // A result belongs to the length it was worked out from.
        ui_->Result->clear();
        ui_->ApplyVf->setEnabled(false);
        ui_->SaveVf->setEnabled(false);
    });
    connect(ui_->Calculate, &QPushButton::clicked, this, &TCableForm::CalculateClick);
    connect(ui_->ApplyVf, &QPushButton::clicked, this, &TCableForm::ApplyVfClick);
    connect(ui_->SaveVf, &QPushButton::clicked, this, &TCableForm::SaveVfClick);
    connect(ui_->Ok, &QPushButton::clicked, this, &TCableForm::OkClick);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCableForm::~TCableForm() = default;

std::optional<CableChoice> TCableForm::ChooseCable(CableDialogModel& model) {
    model_ = &model;
    choice_.reset();
    std::string heading = model.VelocityHeading();
    ui_->CableList->headerItem()->setText(ColVelocity, ToQ(heading));
    ui_->CableList->setColumnHidden(ColVelocity, heading.empty());
    ui_->LengthUnit->setText(ToQ(model.LengthUnit()));
    ui_->CurToCur->setText(ToQ(model.CursorTimeText()));
    ui_->Filter->clear();
    ui_->Length->clear();
    ui_->SaveName->clear();
    ShowCalibration();
    Fill("");
    ui_->Filter->setFocus();
    exec();
    model_ = nullptr;
    return choice_;
}

void TCableForm::Fill(const std::string& select) {
    QTreeWidget* list = ui_->CableList;
    list->clear();
    for (const CableRow& r : model_->Rows(ui_->Filter->text().toStdString())) {
        // Names and notes are the list's UTF-8.
        const QString name = QString::fromStdString(r.name), note = QString::fromStdString(r.note);
        auto* item =
            new QTreeWidgetItem(list, {name, ToQ(r.pvf), ToQ(r.velocity), note, ToQ(r.source)});
        // A long name or note is cut off in its column; the tip shows all of it.
        item->setToolTip(ColName, name);
        if (!r.note.empty())
            item->setToolTip(ColNote, note);
        item->setTextAlignment(ColPvf, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(ColVelocity, Qt::AlignRight | Qt::AlignVCenter);
        if (!select.empty() && r.name == select)
            list->setCurrentItem(item);
    }
    ui_->Ok->setEnabled(!SelectedName().empty());
}

std::string TCableForm::SelectedName() const {
    QList<QTreeWidgetItem*> items = ui_->CableList->selectedItems();
    return items.isEmpty() ? std::string() : items.front()->text(ColName).toStdString();
}

void TCableForm::ShowCalibration() {
    bool measured = model_ && model_->Calibrated().has_value();
    ui_->Result->setText(measured ? ToQ(model_->CalibrationText()) : QString());
    ui_->ApplyVf->setEnabled(measured);
    ui_->SaveVf->setEnabled(measured);
}

void TCableForm::FilterChange() {
    if (model_)
        Fill(SelectedName());
}

void TCableForm::CalculateClick() {
    if (!model_)
        return;
    model_->Calibrate(FromQ(ui_->Length->text()));
    ShowCalibration();
}

void TCableForm::ApplyVfClick() {
    if (!model_ || !model_->Calibrated())
        return;
    choice_ = model_->Calibrated();
    accept();
}

void TCableForm::SaveVfClick() {
    if (!model_ || !model_->SaveCalibration(ui_->SaveName->text().toStdString()))
        return;
    ui_->Filter->blockSignals(true);
    ui_->Filter->clear();
    ui_->Filter->blockSignals(false);
    Fill(model_->Calibrated()->name);
    ui_->CableList->scrollToItem(ui_->CableList->currentItem());
}

void TCableForm::OkClick() {
    if (!model_)
        return;
    choice_ = model_->Choice(SelectedName());
    if (choice_)
        accept();
}

void TCableForm::SelectFirstRow() {
    QTreeWidget* list = ui_->CableList;
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

bool TCableForm::eventFilter(QObject* watched, QEvent* e) {
    QTreeWidget* list = ui_->CableList;
    if (watched == list && e->type() == QEvent::FocusIn && list->selectedItems().isEmpty()) {
        if (list->currentItem())
            list->currentItem()->setSelected(true);
        else
            SelectFirstRow();
    }
    return QDialog::eventFilter(watched, e);
}

void TCableForm::keyPressEvent(QKeyEvent* e) {
    bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    // Enter in the filter takes the first row that matches; Down goes to that row.
    if ((enter || e->key() == Qt::Key_Down) && ui_->Filter->hasFocus()) {
        SelectFirstRow();
        if (enter)
            OkClick();
        else if (ui_->CableList->currentItem())
            ui_->CableList->setFocus();
        return;
    }
    // Enter in the length or name box works out or saves, rather than closing the dialog.
    if (enter && ui_->Length->hasFocus()) {
        CalculateClick();
        return;
    }
    if (enter && ui_->SaveName->hasFocus()) {
        if (ui_->SaveVf->isEnabled())
            SaveVfClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace r470
