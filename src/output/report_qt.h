// The test report drawn with Qt: a PDF file made in memory and written by the program's safe
// writer, or the pages on a printer (the print preview's too).
#pragma once

#include "output/report_pages.h"

#include <string>
#include <vector>

class QPrinter;

namespace r470 {

// Writes the report to `path`; "" on success, else why not (the file is then untouched).
// Needs a QGuiApplication; the offscreen platform will do.
std::string WriteReportPdf(const std::vector<ReportWaveform>& waveforms,
                           const ReportOptions& options, PaperKind paper, const std::string& path);

// Draws every page on a printer whose job the caller (or the print preview) has set up.
bool PaintReport(QPrinter& printer, const std::vector<ReportWaveform>& waveforms,
                 const ReportOptions& options);

// The paper the system's locale expects.
PaperKind SystemPaper();

// Today as the report prints it (ISO order, which every reader takes the same way).
std::string ReportToday();

} // namespace r470
