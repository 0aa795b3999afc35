// Every test of the archive as its own waveform file in DIR/SITE/CABLE/, with an index.csv:
// a copy any program can read, and a way to move an archive by hand.
#pragma once

#include "archive/cable_archive.h"

#include <string>
#include <vector>

namespace r470 {

// "SITE/CABLE/12-FEEDER1.KEL", each part made safe as a file name on any system; an empty
// site is "no site".
std::string ArchiveExportName(const ArchiveTest& t);
// One part of a path: no separators, no characters Windows refuses, no "." or "..", no
// device names.
std::string SafePathPart(const std::string& text);

struct ExportResult {
    int written = 0;
    std::vector<std::string> problems; // one line per file that could not be written
};

ExportResult ExportArchive(CableArchive& archive, const std::string& dir);

} // namespace r470
