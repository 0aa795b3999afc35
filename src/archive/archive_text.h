// The archive's tests as tdrtool prints them: JSON objects for scripts, and one readable
// line per test. Output is UTF-8.
#pragma once

#include "archive/cable_archive.h"

#include <string>

namespace r470 {

// {"test", "site", "cable", "end", "date", "time", "filed", "baseline", "first_change",
// "sha256", "file", ...}; "first_change" is null or {"time_ns", "distance"} as
// `tdrtool events --reference` gives them.
std::string ArchiveTestJson(const ArchiveTest& t);
// null, or {"time_ns", "distance"}.
std::string FirstChangeJson(const ChangeResult& c);
// "  12  2026-12-08 14:30  A  baseline" and the like.
std::string ArchiveTestLine(const ArchiveTest& t);
// The change in words: "baseline", "no change", "changed at 123.4 m", "not compared: ...".
std::string ChangeText(const ArchiveTest& t);

// The archive's index as CSV: a header row, then one row per test.
std::string ArchiveIndexCsv(const std::vector<ArchiveTest>& tests);

} // namespace r470
