// "File > File in archive...": asks the cable ID, site, end and note to file the current
// waveform under, prefilled from it.
#pragma once

#include "archive/archive_commands.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;

namespace r470 {

class TArchiveFileForm : public QDialog {
    Q_OBJECT
  public:
    explicit TArchiveFileForm(QWidget* parent = nullptr);
    // The answers, or nothing when cancelled.
    std::optional<FileInArchiveQuestion> Ask(const FileInArchiveQuestion& question);
    void Show(const FileInArchiveQuestion& question);
    FileInArchiveQuestion Answer(FileInArchiveQuestion question) const;

  private:
    QLineEdit* cable_;
    QLineEdit* site_;
    QComboBox* end_;
    QLineEdit* note_;
};

} // namespace r470
