// The waveform file dialog without its window: which files and folders it lists, what the
// preview shows, which path it returns. The window (TFilesForm) only shows this state.
//
// Paths are UTF-8 (on Windows made wide at the system calls). Names of files and folders
// (list items, folder rows, the name field) are UTF-8 like the paths, so that a name in any
// script is shown, typed and written as it is; only the preview's texts, read from the
// waveform file, are Windows-1252.
// The dialog never changes the process's current directory.
#pragma once

#include "common/file_io.h"
#include "waveform/trace_records.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

// How the main window asks for a file; the window program answers with the dialog, tests
// with a script. An empty optional means the user cancelled.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // A waveform file to open. `folder` is where the dialog starts; an empty folder means
    // wherever the dialog was left last time (the current directory the first time).
    virtual std::optional<std::string> ChooseOpen(const std::string& folder) = 0;
    // A path to write to, with `proposed` preset in the name field. `completeExtension`
    // adds ".KEL" to a typed name without one; pictures turn it off.
    virtual std::optional<std::string>
    ChooseSave(const std::string& folder, const std::string& proposed, bool completeExtension) = 0;
    // Where the next dialog given no folder starts, and putting it back after a dialog that
    // must not move it (a picture saved elsewhere). A chooser that keeps no place ignores it.
    virtual std::string WorkingFolder() const { return ""; }
    virtual void SetWorkingFolder(const std::string& /*folder*/) {}
};

enum class FileDialogMode { Open = 1, Save = 2 };

// Window geometry in pixels; save mode drops the preview panel and is that much shorter.
constexpr int kFilesClientWidth = 425;
constexpr int kFilesClientHeight = 387;
constexpr int kFilesInfoPanelHeight = 168;
constexpr int kFilesButtonBarHeight = 35;

struct WaveformFileEntry {
    std::string shown; // list text: the name without its extension
    std::string real;  // the name on disk, extension in whatever letter case it has
    bool operator==(const WaveformFileEntry&) const = default;
};

struct FilePreview {
    std::string date;
    std::string time;
    std::string cableId;
    std::array<std::string, kCommentLines> comments;
    bool operator==(const FilePreview&) const = default;
};

enum class FolderRowKind { Current, Up, Sub };

struct FolderRow {
    FolderRowKind kind;
    std::string text;
    std::string path;
    bool operator==(const FolderRow&) const = default;
};

// Regular files of `folder` whose names end in ".KEL" in any letter case, sorted by their
// shown name ignoring letter case. Folders, other extensions and a bare ".KEL" are left out.
std::vector<WaveformFileEntry> ListWaveformFiles(const std::string& folder);

// The rows of the folder list: the folder itself, ".." unless it is a root, then its
// subfolders sorted ignoring letter case (hidden ones left out).
std::vector<FolderRow> FolderRows(const std::string& folder);

// What the preview shows for a file's bytes, and for a file on disk (empty when it cannot
// be opened). A file that is too short, has the wrong signature, claims more than 2048
// samples or ends inside its samples shows only "File is not a valid waveform file" in the
// date field. Texts are split as the loader splits them and cut to their fields.
FilePreview ReadPreview(ByteSource& in);
FilePreview ReadPreviewFile(const std::string& path);

// The full path for a name field text: a name without "/" goes under `folder`, a relative
// path is taken from `folder`, and ".KEL" is added when completion is on and the typed
// name's own last part holds no "." (dots in folder names do not count). A name that
// differs from one existing file of its folder in letter case only names that file.
std::string BuildFileName(const std::string& folder, const std::string& typed,
                          bool completeExtension);

// The drive selector's places: "/", the home folder, and volumes mounted under /media, /mnt
// and /run/media according to `procMounts` (the text of /proc/mounts).
std::vector<std::string> UserRoots(const std::string& home, const std::string& procMounts);
// The same for this machine ($HOME and /proc/mounts); on Windows its drives ("C:\\") and
// the user's own folder.
std::vector<std::string> SystemUserRoots();
// Index into `roots` of the deepest one holding `folder`; -1 when none does.
int RootIndexOf(const std::vector<std::string>& roots, const std::string& folder);

// The dialog's state and its handlers, named as the window's.
class FileDialog {
  public:
    explicit FileDialog(std::vector<std::string> roots);

    // Set by the caller before the dialog is shown.
    void SetMode(FileDialogMode mode) { mode_ = mode; }
    void SetCompleteExtension(bool on) { completeExtension_ = on; }
    // Moves to `folder`, or to its nearest existing parent; an empty folder keeps the
    // current one (the process's current directory before the first use).
    void SetFolder(const std::string& folder);
    // The name field, as the caller presets it or the user types it.
    void SetNameText(const std::string& text) { name_ = text; }

    // Handlers.
    void FormShow();
    void GetFiles();
    void SetName(bool fillNameField);
    void FilesClick(int index);
    // Ok or a double-click on a file: fills the result path. False (the dialog stays) when
    // there is nothing to confirm: Ok disabled, or an empty name field.
    bool OkClick();
    bool FilesDblClick(int index);
    // Choosing a folder row or a drive; false when it cannot be entered, nothing changed.
    bool FolderChoose(int row);
    bool DriveChoose(int index);

    std::string GetPath() const;
    std::string GetName() const;
    std::string GetFileName() const;

    // What the window shows.
    FileDialogMode Mode() const { return mode_; }
    const std::string& Caption() const { return caption_; }
    bool PreviewShown() const { return previewShown_; }
    int ClientHeight() const;
    const std::vector<WaveformFileEntry>& Files() const { return files_; }
    int Selected() const { return selected_; }
    const std::string& NameText() const { return name_; }
    const FilePreview& Preview() const { return preview_; }
    bool OkEnabled() const { return okEnabled_; }
    const std::string& Folder() const { return folder_; }
    const std::vector<FolderRow>& Folders() const { return folderRows_; }
    const std::vector<std::string>& Drives() const { return roots_; }
    std::vector<std::string> DriveTexts() const;
    int Drive() const { return drive_; }
    const std::string& ResultPath() const { return result_; }

  private:
    bool EnterFolder(std::string folder); // by value: callers pass rows it replaces

    std::vector<std::string> roots_;
    FileDialogMode mode_ = FileDialogMode::Open;
    bool completeExtension_ = true;
    std::string caption_ = "Choose file";
    bool previewShown_ = true;
    std::string folder_;
    std::vector<FolderRow> folderRows_;
    int drive_ = -1;
    std::vector<WaveformFileEntry> files_;
    int selected_ = -1;
    std::string name_;
    FilePreview preview_;
    bool okEnabled_ = true;
    std::string result_;
};

} // namespace r470
