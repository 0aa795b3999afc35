// "File > File in archive...": asks the cable ID, site, end and note to file the current
// waveform under, prefilled from it. The import asks through it too.
#pragma once

#include "archive/archive_commands.h"
#include "archive/import_filing.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class TArchiveFileForm;
}

namespace r470 {

class TArchiveFileForm : public QDialog, public FilingQuestions {
    Q_OBJECT
  public:
    explicit TArchiveFileForm(QWidget* parent = nullptr);
    ~TArchiveFileForm() override;
    Ui::TArchiveFileForm& ui() { return *ui_; }
    // The answers, or nothing when cancelled.
    std::optional<FileInArchiveQuestion> Ask(const FileInArchiveQuestion& question);
    std::optional<FileInArchiveQuestion> AskFiling(const FileInArchiveQuestion& question,
                                                   const std::string& title,
                                                   bool askCable) override;
    void Show(const FileInArchiveQuestion& question, bool askCable = true);
    FileInArchiveQuestion Answer(FileInArchiveQuestion question) const;

  private:
    std::unique_ptr<Ui::TArchiveFileForm> ui_;
};

} // namespace r470
