// What the verbs of `tdrtool archive` share: the archive opened from --db (or the user's
// own), and the verbs that live in files of their own.
#pragma once

#include "app/tdrtool_cli.h"
#include "archive/cable_archive.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tdrtool {

// The archive at `db` (empty: the user's own), or null with the reason told on stderr.
std::unique_ptr<r470::CableArchive> OpenArchive(const std::string& db, bool readOnly = false);
std::string ArchiveHelp();
int ArchiveFailed(const std::string& text);

int RunArchiveImportFolder(const Args& args);
// Prints a batch's outcome: one line per file, or {"added": [...], "already": [...]}; what
// could not be read or filed goes to stderr and makes the exit code 1.
int ReportFiling(const std::vector<std::string>& files, const std::vector<r470::FilingOutcome>& out,
                 const std::vector<std::pair<std::string, std::string>>& unread, bool json);

} // namespace tdrtool
