// The cable archive: every waveform filed under its cable in one SQLite file, each cable's
// baseline, and every later test's change since it. The one interface the window, tdrtool
// and the report use; no SQL outside src/archive/.
#pragma once

#include "archive/sqlite_db.h"
#include "archive/waveform_facts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

struct ArchiveTest {
    std::int64_t test = 0;
    std::string site, cable; // UTF-8
    std::string end;         // "A", "B" or empty
    std::string date, time;  // from the waveform; empty when it gave none
    std::string filed;       // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    std::string technician, note, fileName, sha256;
    std::int64_t size = 0;
    bool baseline = false;
    ChangeResult change; // against the cable's baseline; NotCompared for the baseline
    int memNo = 0;
    int events = 0;
};

struct ArchiveCable {
    std::string site, cable;
    std::int64_t baseline = 0; // test number, 0 when the cable has none
};

// One waveform to file. Empty optional fields are taken from the waveform.
struct FilingRequest {
    std::vector<std::uint8_t> bytes;
    std::string fileName;
    std::string cable; // empty: the waveform's own
    std::string site;
    std::string end; // "A", "B" or empty
    std::string technician;
    std::string note;
};

struct FilingOutcome {
    std::int64_t test = 0;
    bool already = false; // the same bytes were filed before (or earlier in the batch)
    std::string problem;  // why this one was not filed (not a waveform, no cable ID)
};

struct ArchiveFilter {
    std::string site{}, cable{}; // exact; empty for any
    bool bySite = false;         // site given (an empty site is a site too)
    std::string since{};         // "YYYY-MM-DD": tests of that day or later
    std::string until{};         // "YYYY-MM-DD": tests of that day or earlier
    std::string text{};          // in site, cable or note
    bool changedOnly = false;
    std::size_t limit = 0; // 0: all
};

struct ArchiveOpenOptions {
    bool readOnly = false;
    int busyMs = 5000;
};

class CableArchive {
  public:
    // Opens the archive at `path`, creating it (and its folder) when missing. A file that is
    // not ours, or of a newer schema, is refused and left untouched: null with `error` set.
    static std::unique_ptr<CableArchive> Open(const std::string& path, std::string& error,
                                              const ArchiveOpenOptions& options = {});

    const std::string& Path() const { return path_; }
    bool ReadOnly() const { return readOnly_; }
    // Why the last call failed, in words for the user.
    const std::string& Error() const { return error_; }

    // Files a batch in one transaction: all of it, or on failure nothing (false).
    // `progress` is told after each waveform.
    bool File(std::span<const FilingRequest> batch, std::vector<FilingOutcome>& out,
              const std::function<void(std::size_t done)>& progress = {});

    std::optional<ArchiveTest> Test(std::int64_t test);
    std::optional<ArchiveTest> FindByBytes(std::span<const std::uint8_t> bytes);
    std::vector<ArchiveTest> List(const ArchiveFilter& filter);
    std::vector<ArchiveCable> Cables();
    // The filed bytes exactly, or nothing when there is no such test.
    std::optional<std::vector<std::uint8_t>> Bytes(std::int64_t test);
    // The cable's baseline test; nothing when the cable is unknown or has no tests.
    std::optional<ArchiveTest> Baseline(const std::string& site, const std::string& cable);
    // The cable's latest test by the waveforms' own date and time, else by filing.
    std::optional<ArchiveTest> Latest(const std::string& site, const std::string& cable);

    // Makes `test` its cable's baseline and compares the cable's other tests with it again.
    bool MarkBaseline(std::int64_t test);
    // Removes a test; a baseline with other tests stays until another is marked.
    bool Remove(std::int64_t test);
    // SQLite's integrity check and every waveform's SHA-256: the problems found.
    std::vector<std::string> Check();

  private:
    CableArchive() = default;
    bool Begin();
    bool Commit();
    void Rollback();
    bool Fail(const std::string& what);
    bool Writable();
    bool CompareCable(std::int64_t cableRow, std::int64_t baseline);

    SqliteDb db_;
    std::string path_;
    std::string error_;
    bool readOnly_ = false;
};

} // namespace r470
