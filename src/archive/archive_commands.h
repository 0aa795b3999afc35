// What the window does with the archive: the browser's rows, opening a test into the next
// free slot, comparing it with its cable's baseline, marking and removing with the user
// asked first, and filing the current waveform. Rules only; the windows just call these.
#pragma once

#include "archive/cable_archive.h"
#include "shell/user_options.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

class CompareCommands;
class Display;
class Prompts;
class SetCommands;
struct Workspace;

// The user's archive (`path`, else the default), or null with the user told why.
std::unique_ptr<CableArchive> OpenUserArchive(Prompts& prompts, const std::string& path = "");

// The archive file typed in the settings (empty: the default place), kept in `options` and
// its file. A file the archive refuses (not ours, of a newer schema) is told in the
// archive's own words and the setting left as it was: false. A new name makes a new
// archive there; a relative one is taken from the current folder.
bool ChooseArchiveFile(const std::string& typed, UserOptions& options,
                       const std::string& optionsFile, Prompts& prompts);

// One row of the browser's tree: a site, a cable under it, or a test under its cable.
struct BrowserRow {
    enum Level { Site, Cable, Test };
    Level level = Site;
    // Test rows: number, date and time, end, memory number, events, change since the baseline.
    std::array<std::string, 6> columns;
    std::int64_t test = 0;
    bool changed = false;
    bool baseline = false;
};

// The columns' captions, and the tree of `tests` (listed in site, cable, date order).
extern const std::array<const char*, 6> kBrowserColumns;
std::vector<BrowserRow> BrowserRows(const std::vector<ArchiveTest>& tests);
// The tests that the chosen rows stand for, in the rows' order: a test's row itself, a
// cable's or a site's row every test under it. `chosen` runs beside `rows`.
std::vector<std::int64_t> TestsOfRows(const std::vector<BrowserRow>& rows,
                                      const std::vector<bool>& chosen);

// The browser's search: text in site, cable or note, and an optional date range.
ArchiveFilter BrowserFilter(const std::string& text, const std::string& from,
                            const std::string& to);
// The most tests the browser lists at once.
constexpr std::size_t kBrowserPage = 2000;

// Where the archive's tests are written to be opened: "opened" beside the archive file.
std::string OpenedFolder(const CableArchive& archive);

// Opens `test` into the next free slot; the slot, or 0 (the user was told why).
int OpenArchiveTest(CableArchive& archive, std::int64_t test, SetCommands& commands,
                    const Workspace& session, Prompts& prompts);
// The test's cable's baseline and the test in two slots, their difference shown and the
// first change between the cursors.
bool CompareWithBaseline(CableArchive& archive, std::int64_t test, Workspace& session,
                         SetCommands& commands, CompareCommands& compare, Display& display,
                         Prompts& prompts);
bool MarkAsBaseline(CableArchive& archive, std::int64_t test, Prompts& prompts);
// Asks first; a baseline with other tests is refused with the reason.
bool RemoveFromArchive(CableArchive& archive, std::int64_t test, Prompts& prompts);

// "File in archive...": the current waveform's bytes and the answers prefilled from it.
struct FileInArchiveQuestion {
    std::vector<std::uint8_t> bytes;
    std::string fileName;
    std::string cable, site, end, note; // UTF-8
};
std::optional<FileInArchiveQuestion> CurrentWaveformForFiling(const Workspace& session,
                                                              Prompts& prompts);
// Files it; tells the user the test number, or that it was already filed, or the failure.
bool FileAnswered(CableArchive& archive, const FileInArchiveQuestion& answers, Prompts& prompts);

} // namespace r470
