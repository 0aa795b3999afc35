// The waveform file dialog's window. It forwards the user's actions to FileDialog and shows
// what FileDialog decides; it is also the window program's FileChooser.
#pragma once

#include "waveform/file_dialog.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QString;

namespace Ui {
class TFilesForm;
}

namespace r470 {

struct FileDialogResult {
    bool ok = false;  // the user confirmed
    std::string path; // the full path chosen; empty unless ok
};

class TFilesForm : public QDialog, public FileChooser {
    Q_OBJECT
  public:
    // The drive selector offers this machine's places (SystemUserRoots).
    explicit TFilesForm(QWidget* parent = nullptr);
    TFilesForm(std::vector<std::string> roots, QWidget* parent);
    ~TFilesForm() override;

    // Modal use. `folder` is where to start; empty means where the dialog was left. The
    // window is one instance reused for every call, as the main window creates it once.
    FileDialogResult ExecOpen(const std::string& folder);
    // `proposedName` is preset in the name field (and selected in the list when it names a
    // listed file); `completeExtension` false keeps typed names without ".KEL" (pictures).
    FileDialogResult ExecSave(const std::string& folder, const std::string& proposedName,
                              bool completeExtension = true);

    std::optional<std::string> ChooseOpen(const std::string& folder) override;
    std::optional<std::string> ChooseSave(const std::string& folder, const std::string& proposed,
                                          bool completeExtension) override;
    std::string WorkingFolder() const override;
    void SetWorkingFolder(const std::string& folder) override;

    // What ExecOpen and ExecSave do before showing the window; tests call it and then
    // show() the window and drive the handlers below.
    void Prepare(FileDialogMode mode, const std::string& folder, const std::string& name,
                 bool completeExtension);
    FileDialogResult Result() const;

    // Handlers, as the controls call them.
    void FormShow();
    void FilesClick(int row);
    void FilesDblClick(int row);
    void OkClick();
    void CancelClick();
    void FolderDblClick(int row);
    void DriveChange(int index);
    void NameChange(const QString& text);

    FileDialog& core() { return core_; }
    Ui::TFilesForm& ui() { return *ui_; }

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void ShowMode();
    void ShowPlaces();
    void ShowFiles();
    void ShowNameAndPreview();

    std::unique_ptr<Ui::TFilesForm> ui_;
    FileDialog core_;
};

} // namespace r470
