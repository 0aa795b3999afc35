#include "waveform/file_dialog.h"

#include "shell/messages.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace r470 {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Fold(x) == Fold(y); });
}

// Ignoring letter case first, then by bytes, so that the order never depends on the
// order the directory happens to list its entries in.
bool LessIgnoreCase(const std::string& a, const std::string& b) {
    auto folded =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
        });
    if (folded || !EqualsIgnoreCase(a, b))
        return folded;
    return a < b;
}

// Paths are UTF-8 in the program; the library's narrow strings are not on every system.
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TextOf(const fs::path& p) {
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

bool IsRootPath(const std::string& path) {
    return !path.empty() && RootLength(path) == path.size();
}

// Absolute, without "." or ".." parts and without a trailing separator (except after a
// root: "/", "C:\\").
std::string Normalised(const std::string& path) {
    fs::path p = PathOf(path);
    if (!p.is_absolute()) {
        std::error_code ec;
        fs::path cwd = fs::current_path(ec);
        p = (ec ? fs::path("/") : cwd) / p;
    }
    std::string s = TextOf(p.lexically_normal());
    while (s.size() > 1 && s.size() > RootLength(s) && IsPathSeparator(s.back()))
        s.pop_back();
    return s;
}

bool CanList(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(PathOf(folder), ec);
    return !ec;
}

FilePreview NotValidPreview() {
    FilePreview p;
    p.date = MessageText(MsgNotWaveformFile);
    return p;
}

// Octal escapes of /proc/mounts: "\040" is a space in a mount point's name.
std::string UnescapeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool octal = true;
            int value = 0;
            for (std::size_t k = 1; k <= 3; ++k) {
                char c = field[i + k];
                octal = octal && c >= '0' && c <= '7';
                value = value * 8 + (c - '0');
            }
            if (octal && value < 256) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool IsUnder(const std::string& path, const std::string& base) {
    if (base.empty() || path.compare(0, base.size(), base) != 0)
        return false;
    return path.size() == base.size() || IsPathSeparator(base.back()) ||
           IsPathSeparator(path[base.size()]);
}

} // namespace

std::vector<WaveformFileEntry> ListWaveformFiles(const std::string& folder) {
    std::vector<WaveformFileEntry> files;
    std::error_code ec;
    for (fs::directory_iterator it(PathOf(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = TextOf(it->path().filename());
        std::error_code fec;
        if (!HasWaveformExtension(name) || !it->is_regular_file(fec))
            continue;
        files.push_back({name.substr(0, name.size() - kWaveformExtension.size()), name});
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.shown != b.shown ? LessIgnoreCase(a.shown, b.shown) : a.real < b.real;
    });
    return files;
}

std::vector<FolderRow> FolderRows(const std::string& folder) {
    std::vector<FolderRow> rows;
    const bool root = IsRootPath(folder);
    rows.push_back({FolderRowKind::Current, root ? folder : BaseName(folder), folder});
    if (!root)
        rows.push_back({FolderRowKind::Up, "..", DirName(folder)});
    std::vector<FolderRow> subs;
    std::error_code ec;
    for (fs::directory_iterator it(PathOf(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = TextOf(it->path().filename());
        std::error_code dec;
        if (name.empty() || name[0] == '.' || !it->is_directory(dec))
            continue;
        subs.push_back({FolderRowKind::Sub, name, JoinPath(folder, name)});
    }
    std::sort(subs.begin(), subs.end(),
              [](const auto& a, const auto& b) { return LessIgnoreCase(a.text, b.text); });
    rows.insert(rows.end(), subs.begin(), subs.end());
    return rows;
}

FilePreview ReadPreview(ByteSource& in) {
    // The version does not matter here: the preview only needs the texts.
    TraceData trace;
    if (ReadTrace(in, trace, true) != LoadOk)
        return NotValidPreview();
    FilePreview p;
    p.date = trace.notes.Date;
    p.time = trace.notes.Time;
    p.cableId = trace.notes.CableId;
    p.comments = trace.notes.Comments;
    return p;
}

FilePreview ReadPreviewFile(const std::string& path) {
    InFile f;
    if (f.Open(path) != 0)
        return {};
    return ReadPreview(f);
}

std::string BuildFileName(const std::string& folder, const std::string& typed,
                          bool completeExtension) {
    std::string name = typed;
    std::string own = BaseName(name);
    if (completeExtension && !own.empty() && own.find('.') == std::string::npos)
        name += kWaveformExtension;
    // A typed "\\x" or "/x" on Windows keeps the folder's drive: operator/ does that.
    fs::path p = (PathOf(folder) / PathOf(name)).lexically_normal();

    std::error_code ec;
    std::string file = TextOf(p.filename());
    if (file.empty() || fs::exists(p, ec))
        return TextOf(p);
    // A name that differs from an existing file in letter case only means that file, so
    // that a file is never written beside its own differently cased twin.
    std::string match;
    int matches = 0;
    for (fs::directory_iterator it(p.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        std::string other = TextOf(it->path().filename());
        std::error_code fec;
        if (EqualsIgnoreCase(other, file) && it->is_regular_file(fec)) {
            match = other;
            ++matches;
        }
    }
    return TextOf(matches == 1 ? p.parent_path() / PathOf(match) : p);
}

std::vector<std::string> UserRoots(const std::string& home, const std::string& procMounts) {
    std::vector<std::string> roots{"/"};
    if (!home.empty() && home[0] == '/') {
        std::string h = fs::path(home).lexically_normal().string();
        while (h.size() > 1 && h.back() == '/')
            h.pop_back();
        if (h != "/")
            roots.push_back(h);
    }
    std::vector<std::string> mounts;
    std::istringstream lines(procMounts);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, point;
        if (!(fields >> device >> point))
            continue;
        point = UnescapeMountField(point);
        if (IsUnder(point, "/media") || IsUnder(point, "/mnt") || IsUnder(point, "/run/media"))
            mounts.push_back(point);
    }
    std::sort(mounts.begin(), mounts.end());
    for (const auto& m : mounts)
        if (std::find(roots.begin(), roots.end(), m) == roots.end())
            roots.push_back(m);
    return roots;
}

int RootIndexOf(const std::vector<std::string>& roots, const std::string& folder) {
    int best = -1;
    for (std::size_t i = 0; i < roots.size(); ++i)
        if (IsUnder(folder, roots[i]) &&
            (best < 0 || roots[i].size() > roots[static_cast<std::size_t>(best)].size()))
            best = static_cast<int>(i);
    return best;
}

FileDialog::FileDialog(std::vector<std::string> roots) : roots_(std::move(roots)) {}

void FileDialog::SetFolder(const std::string& folder) {
    std::string want = folder;
    if (want.empty())
        want = folder_.empty() ? "." : folder_;
    std::string p = Normalised(want);
    // A folder that has gone (or never was) gives way to the nearest one that is there.
    while (!EnterFolder(p) && !IsRootPath(p) && DirName(p) != p)
        p = DirName(p);
}

bool FileDialog::EnterFolder(std::string folder) {
    if (!CanList(folder))
        return false;
    folder_ = folder;
    folderRows_ = FolderRows(folder);
    drive_ = RootIndexOf(roots_, folder);
    return true;
}

int FileDialog::ClientHeight() const {
    return previewShown_ ? kFilesClientHeight : kFilesClientHeight - kFilesInfoPanelHeight;
}

std::vector<std::string> FileDialog::DriveTexts() const {
    return roots_;
}

void FileDialog::FormShow() {
    if (mode_ == FileDialogMode::Open) {
        caption_ = "Open file";
        previewShown_ = true;
    } else {
        caption_ = "Save file as";
        previewShown_ = false;
    }
    result_.clear();
    GetFiles();
}

void FileDialog::GetFiles() {
    files_ = ListWaveformFiles(folder_);
    selected_ = files_.empty() ? -1 : 0;
    if (mode_ == FileDialogMode::Save) {
        okEnabled_ = true;
        // Preselect the proposed file: its own name up to the first ".".
        std::string own = BaseName(name_);
        std::string stem = own.substr(0, own.find('.'));
        auto it = std::find_if(files_.begin(), files_.end(),
                               [&](const auto& f) { return EqualsIgnoreCase(f.shown, stem); });
        selected_ = it == files_.end() ? -1 : static_cast<int>(it - files_.begin());
    } else {
        okEnabled_ = !files_.empty();
    }
    SetName(mode_ == FileDialogMode::Open);
}

void FileDialog::SetName(bool fillNameField) {
    if (fillNameField)
        name_.clear();
    preview_ = {};
    if (selected_ < 0)
        return;
    if (fillNameField)
        name_ = GetName();
    preview_ = ReadPreviewFile(GetPath() + files_[static_cast<std::size_t>(selected_)].real);
}

void FileDialog::FilesClick(int index) {
    if (index < 0 || index >= static_cast<int>(files_.size()))
        return;
    selected_ = index;
    SetName(true);
}

bool FileDialog::OkClick() {
    if (!okEnabled_ || name_.find_first_not_of(' ') == std::string::npos)
        return false;
    result_ = GetFileName();
    return true;
}

bool FileDialog::FilesDblClick(int index) {
    if (index < 0 || index >= static_cast<int>(files_.size()))
        return false;
    FilesClick(index);
    return OkClick();
}

bool FileDialog::FolderChoose(int row) {
    if (row < 0 || row >= static_cast<int>(folderRows_.size()))
        return false;
    if (!EnterFolder(folderRows_[static_cast<std::size_t>(row)].path))
        return false;
    GetFiles();
    return true;
}

bool FileDialog::DriveChoose(int index) {
    if (index < 0 || index >= static_cast<int>(roots_.size()))
        return false;
    if (!EnterFolder(roots_[static_cast<std::size_t>(index)]))
        return false;
    GetFiles();
    return true;
}

std::string FileDialog::GetPath() const {
    return !folder_.empty() && IsPathSeparator(folder_.back()) ? folder_
                                                               : folder_ + PreferredSeparator();
}

std::string FileDialog::GetName() const {
    if (selected_ < 0)
        return {};
    // The real name, not the list text with ".KEL" put back: the extension's letter case
    // matters on this file system.
    return files_[static_cast<std::size_t>(selected_)].real;
}

std::string FileDialog::GetFileName() const {
    if (selected_ >= 0 && name_ == GetName())
        return GetPath() + files_[static_cast<std::size_t>(selected_)].real;
    return BuildFileName(folder_, name_, completeExtension_);
}

} // namespace r470
