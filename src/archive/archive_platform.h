// What the archive needs of the system, one file per system: where the user's archive lives,
// whether a file is marked read-only, and who holds a busy archive.
#pragma once

#include <string>

namespace r470 {

// $XDG_DATA_HOME/r470/archive.sqlite (~/.local/share/r470/); on Windows
// %LOCALAPPDATA%\R470\archive.sqlite. Empty when the system names no such folder.
std::string DefaultArchivePath();

// True when the file's own marks forbid writing it, even to a user (root) who could.
bool FileMarkedReadOnly(const std::string& path);

// "tdrtool (pid 2311)" for the process holding the archive's write lock, where the system
// can tell; else empty.
std::string ArchiveWriterText(const std::string& path);

} // namespace r470
