// The waveforms of a report read from files: every file is read before anything is drawn,
// so a report is either whole or not written at all.
#pragma once

#include "output/report_content.h"

#include <string>
#include <vector>

namespace r470 {

// Reads `files` in order, each compared with `baselineFile` when one is given. Answers ""
// or the first file that cannot be read (or compared) with the reason, UTF-8.
std::string ReadReportFiles(const std::vector<std::string>& files, const std::string& baselineFile,
                            std::vector<ReportWaveform>& out);

} // namespace r470
