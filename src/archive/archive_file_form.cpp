#include "archive/archive_file_form.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace r470 {

TArchiveFileForm::TArchiveFileForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("File in archive");
    setObjectName("TArchiveFileForm");
    cable_ = new QLineEdit;
    cable_->setObjectName("CableId");
    site_ = new QLineEdit;
    site_->setObjectName("Site");
    end_ = new QComboBox;
    end_->setObjectName("End");
    end_->addItems({"none", "A", "B"});
    note_ = new QLineEdit;
    note_->setObjectName("Note");
    auto* form = new QFormLayout(this);
    form->addRow("&Cable ID:", cable_);
    form->addRow("&Site:", site_);
    form->addRow("&End:", end_);
    form->addRow("&Note:", note_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TArchiveFileForm::Show(const FileInArchiveQuestion& q) {
    cable_->setText(QString::fromStdString(q.cable));
    site_->setText(QString::fromStdString(q.site));
    end_->setCurrentIndex(q.end == "A" ? 1 : q.end == "B" ? 2 : 0);
    note_->setText(QString::fromStdString(q.note));
    cable_->setFocus();
}

FileInArchiveQuestion TArchiveFileForm::Answer(FileInArchiveQuestion q) const {
    q.cable = cable_->text().toStdString();
    q.site = site_->text().toStdString();
    q.end = end_->currentIndex() == 0 ? "" : end_->currentText().toStdString();
    q.note = note_->text().toStdString();
    return q;
}

std::optional<FileInArchiveQuestion> TArchiveFileForm::Ask(const FileInArchiveQuestion& q) {
    Show(q);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Answer(q);
}

} // namespace r470
