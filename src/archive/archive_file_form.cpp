#include "archive/archive_file_form.h"

#include "ui_archive_file_form.h"

namespace r470 {

TArchiveFileForm::TArchiveFileForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TArchiveFileForm>()) {
    ui_->setupUi(this);
    resize(width(), minimumSizeHint().height()); // no empty band under the buttons
    connect(ui_->ButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_->ButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TArchiveFileForm::~TArchiveFileForm() = default;

void TArchiveFileForm::Show(const FileInArchiveQuestion& q, bool askCable) {
    ui_->CableId->setEnabled(askCable);
    ui_->CableId->setText(askCable ? QString::fromStdString(q.cable) : QString());
    ui_->CableId->setPlaceholderText(askCable ? QString() : QString("each memory's own"));
    ui_->Site->setText(QString::fromStdString(q.site));
    ui_->End->setCurrentIndex(q.end == "A" ? 1 : q.end == "B" ? 2 : 0);
    ui_->Note->setText(QString::fromStdString(q.note));
    (askCable ? ui_->CableId : ui_->Site)->setFocus();
}

FileInArchiveQuestion TArchiveFileForm::Answer(FileInArchiveQuestion q) const {
    q.cable = ui_->CableId->text().toStdString();
    q.site = ui_->Site->text().toStdString();
    q.end = ui_->End->currentIndex() == 0 ? "" : ui_->End->currentText().toStdString();
    q.note = ui_->Note->text().toStdString();
    return q;
}

std::optional<FileInArchiveQuestion> TArchiveFileForm::Ask(const FileInArchiveQuestion& q) {
    return AskFiling(q, "File in archive", true);
}

std::optional<FileInArchiveQuestion> TArchiveFileForm::AskFiling(const FileInArchiveQuestion& q,
                                                                 const std::string& title,
                                                                 bool askCable) {
    setWindowTitle(QString::fromStdString(title));
    Show(q, askCable);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Answer(q);
}

} // namespace r470
