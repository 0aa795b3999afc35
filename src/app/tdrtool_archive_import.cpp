// tdrtool archive import-folder: every waveform file under a folder filed under its own
// cable ID in one batch, with a progress bar when standard error is a terminal.
#include "app/tdrtool_archive.h"
#include "app/tdrtool_platform.h"
#include "archive/waveform_facts.h"
#include "common/file_io.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace tdrtool {

namespace {

namespace fs = std::filesystem;

// The waveform files under `dir`, sorted so that a cable's first test is filed first when
// the names say the order. Folders that cannot be read are told, not fatal.
std::vector<std::string> FindWaveforms(const std::string& dir, bool recursive,
                                       std::vector<std::pair<std::string, std::string>>& unread) {
    std::vector<std::string> files;
    std::error_code ec;
    auto take = [&](const fs::directory_entry& e) {
        std::error_code fec;
        std::string name = e.path().filename().string();
        if (r470::HasWaveformExtension(name) && e.is_regular_file(fec))
            files.push_back(e.path().string());
    };
    if (recursive) {
        fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec),
            end;
        for (; !ec && it != end; it.increment(ec))
            take(*it);
    } else {
        fs::directory_iterator it(dir, ec), end;
        for (; !ec && it != end; it.increment(ec))
            take(*it);
    }
    if (ec)
        unread.emplace_back(dir, ec.message());
    std::sort(files.begin(), files.end());
    return files;
}

class ProgressBar {
  public:
    explicit ProgressBar(std::size_t total) : total_(total), shown_(StderrIsTerminal()) {}
    ~ProgressBar() {
        if (shown_ && drawn_)
            std::cerr << "\n";
    }
    void Step(std::size_t done) {
        if (!shown_ || total_ == 0)
            return;
        int width = 40, filled = static_cast<int>(done * width / total_);
        if (filled == last_ && done != total_)
            return;
        last_ = filled;
        drawn_ = true;
        std::cerr << "\r[" << std::string(filled, '#') << std::string(width - filled, ' ') << "] "
                  << done << "/" << total_ << std::flush;
    }

  private:
    std::size_t total_;
    bool shown_;
    bool drawn_ = false;
    int last_ = -1;
};

} // namespace

int RunArchiveImportFolder(const Args& args) {
    Args words;
    std::string db;
    bool json = false, recursive = false;
    std::optional<int> end = ReadArgs(
        args, ArchiveHelp(), &words,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (name == "--json")
                json = true;
            else if (name == "--recursive")
                recursive = true;
            else if (name == "--db") {
                auto value = r.Value();
                if (!value)
                    return UsageError("archive import-folder", "--db needs a value", ArchiveHelp());
                db = *value;
            } else
                return UsageError("archive import-folder", "unknown option \"" + name + "\"",
                                  ArchiveHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    if (words.size() != 1)
        return UsageError("archive import-folder", "give one folder", ArchiveHelp());
    if (!r470::IsFolder(words[0]))
        return ArchiveFailed(words[0] + ": not a folder");

    std::vector<std::pair<std::string, std::string>> unread;
    std::vector<std::string> found = FindWaveforms(words[0], recursive, unread);
    std::vector<r470::FilingRequest> batch;
    std::vector<std::string> files;
    batch.reserve(found.size());
    for (const std::string& file : found) {
        r470::FilingRequest r;
        if (int rc = r470::ReadFileForFiling(file, r.bytes)) {
            unread.emplace_back(file, r470::FilingReadText(rc));
            continue;
        }
        r.fileName = r470::BaseName(file);
        batch.push_back(std::move(r));
        files.push_back(file);
    }
    auto archive = OpenArchive(db);
    if (!archive)
        return kExitFailed;
    std::vector<r470::FilingOutcome> out;
    bool ok;
    {
        ProgressBar bar(batch.size());
        ok = archive->File(batch, out, [&](std::size_t done) { bar.Step(done); });
    }
    if (!ok)
        return ArchiveFailed(archive->Error());
    return ReportFiling(files, out, unread, json);
}

} // namespace tdrtool
