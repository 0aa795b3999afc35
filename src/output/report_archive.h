// The report's waveforms as the cable archive knows them: the site and cable a waveform is
// filed under, and its cable's baseline drawn under it. Also every test of one cable, newest
// first, and any chosen tests (the archive browser's selection).
#pragma once

#include "archive/cable_archive.h"
#include "output/report_content.h"

#include <optional>
#include <string>
#include <vector>

namespace r470 {

// Reads `files` as ReadReportFiles does; those filed in `archive` (the same bytes) then take
// its site and cable ID, and its cable's baseline unless `baselineFile` gave one or the test
// is the baseline. "" or the first problem, UTF-8.
std::string ReadArchivedReportFiles(CableArchive& archive, const std::vector<std::string>& files,
                                    const std::string& baselineFile,
                                    std::vector<ReportWaveform>& out);

// The tests in the order given, each from its filed bytes. "" or the first problem.
std::string ReadReportTests(CableArchive& archive, const std::vector<ArchiveTest>& tests,
                            std::vector<ReportWaveform>& out);

// The one cable's tests, newest first by the waveforms' own date and time (else by filing).
// Without `site` the cable ID must name one cable: at several sites it is refused, and so is
// a cable with no tests. "" or why not.
std::string ReadCableReport(CableArchive& archive, const std::string& cable,
                            const std::optional<std::string>& site,
                            std::vector<ReportWaveform>& out);

} // namespace r470
