// The import's "File in archive" destination: the chosen memories filed in one batch, each
// under its own cable ID, with the user asked the site once and the cable ID of a memory
// that has none. A failure files nothing and offers the waveforms as files instead.
#pragma once

#include "archive/archive_commands.h"
#include "instrument/import.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

class Prompts;

// The filing window: `question` prefilled, the answers or nothing when cancelled. Without
// `askCable` the cable ID is not asked (each memory keeps its own).
class FilingQuestions {
  public:
    virtual ~FilingQuestions() = default;
    virtual std::optional<FileInArchiveQuestion>
    AskFiling(const FileInArchiveQuestion& question, const std::string& title, bool askCable) = 0;
};

// "3 tests filed, 1 already filed."
std::string FiledCountText(const std::vector<FilingOutcome>& outcomes);

class ArchiveImportFiler : public ImportFiler {
  public:
    // `archivePath` gives the user's archive file at the time of filing; empty: the default.
    ArchiveImportFiler(Prompts& prompts, FilingQuestions& questions,
                       std::function<std::string()> archivePath)
        : prompts_(prompts), questions_(questions), archivePath_(std::move(archivePath)) {}

    Outcome File(const std::vector<ImportedWaveform>& waveforms) override;

  private:
    // Nothing was filed: says why and asks whether to write files instead.
    Outcome NotFiled(const std::string& why);

    Prompts& prompts_;
    FilingQuestions& questions_;
    std::function<std::string()> archivePath_;
    std::string lastSite_; // offered again for the next import of this run
};

} // namespace r470
