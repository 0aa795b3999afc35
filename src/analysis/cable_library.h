// The cable library: common cable types with their nominal velocity factors, and the user's
// own list in a plain text file that may be edited by hand. The list is the program's own
// file, not a waveform's: its names and notes are UTF-8, so any character may be in a name.
// The file is UTF-8, or Windows-1252 when an older editor wrote it so; it is written back in
// the encoding it was read in, unless a name needs more, when the whole of it turns UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

struct CableEntry {
    std::string name;
    int diel = 0; // velocity factor x 1000, 300..999
    std::string note;
    bool user = false; // from the user's list, not built in
    int line = 0;      // its line in the user's file
};

// The built-in list, in the order it is shown.
const std::vector<CableEntry>& BuiltInCables();

// Names are the same when they differ only in letter case.
bool SameCableName(const std::string& a, const std::string& b);

// True when the cable's name or note holds `filter`, in any letter case.
bool CableMatches(const CableEntry& cable, const std::string& filter);

// A decimal number as a user writes one: "0.66", "0,66", ".66" or "1e9"; nothing for other
// text ("inf" and "nan" included).
std::optional<double> ParseDecimal(const std::string& text);
// A velocity factor as the list holds it ("0.66", or "66%"), x 1000 and rounded; nothing
// when it is not a number or falls outside 0.300..0.999.
std::optional<int> ParsePvf(const std::string& text);
// "0.660".
std::string PvfText(int diel);

struct CableLineProblem {
    int line = 0;
    std::string text; // what is wrong, as a clause: "no name before the first ';'"
};
// The problem as a sentence: "Line 6: no name before the first ';'."
std::string CableLineText(const CableLineProblem& p);

// The user's list as its file holds it. Every line is kept as it was, so that writing the
// list back never loses a line the program could not read.
struct UserCableFile {
    std::vector<std::string> lines; // without their line ends
    std::vector<CableEntry> entries;
    std::vector<CableLineProblem> problems; // lines skipped, and why (Windows-1252)
    int error = 0;                          // the read's error code; a missing file is 0
    bool cp1252 = false;    // not valid UTF-8: read, and written back, as Windows-1252
    std::size_t digest = 0; // of the bytes read (or of the error): tells a changed file
};

// One entry a line, "NAME; PVF; NOTE" (the note may be left out); blank lines and lines
// starting with "#" are skipped without a word. A bad line is reported and skipped.
UserCableFile ParseUserCables(const std::string& text);
UserCableFile ReadUserCables(const std::string& path);
// "" when `name` may be given to a cable of the user's, else why not.
std::string CableNameProblem(const std::string& name);
// Adds `entry` (its name checked with CableNameProblem) to the list, or replaces the user's
// entry of the same name, and writes the whole file through the safe writer; a new file
// starts with a line saying its form.
// Returns 0 or the write's error code; the list is unchanged on failure.
int SaveUserCable(const std::string& path, UserCableFile& file, CableEntry entry);
// The file of the user's list in the configuration folder.
std::string CableListPath(const std::string& configDir);
// The text of a read error of the user's list.
std::string CableFileErrorText(int code);
// The problems of a read as lines "FILE line N: TEXT." (or the read error), for a terminal.
std::vector<std::string> CableFileReport(const std::string& path, const UserCableFile& file);

// The built-in cables followed by the user's.
class CableLibrary {
  public:
    explicit CableLibrary(const UserCableFile& user);
    const std::vector<CableEntry>& Entries() const { return entries_; }
    const CableEntry* Find(const std::string& name) const;
    // Up to `count` names nearest to `name` (a misspelling, a part of a name), nearest first.
    std::vector<std::string> NearestNames(const std::string& name, std::size_t count) const;

  private:
    std::vector<CableEntry> entries_;
};

} // namespace r470
