// The cable test report's pages laid out and drawn on a canvas: a summary first when there
// are several waveforms, then one page each with its header, its graph drawn as the display
// draws it (cursors on the launch and the largest reflection), its events, the baseline
// under it when there is one, its comments, and a footer.
#pragma once

#include "display/canvas.h"
#include "output/report_content.h"

#include <functional>
#include <string>
#include <vector>

namespace r470 {

class PrinterPort;

// The whole sheet in device pixels.
struct ReportPaper {
    int width = 0, height = 0;
};
enum class PaperKind { A4, Letter };
constexpr int kReportResolution = 600; // dots per inch of the PDF pages
ReportPaper PaperPixels(PaperKind kind, int dpi = kReportResolution);

// A4, unless the system's locale measures in inches.
PaperKind DefaultPaper(bool localeMeasuresInInches);

struct ReportLayout {
    int margin = 0, lineHeight = 0, titleHeight = 0;
    int summaryRowsPerPage = 0; // the summary's table rows that one page holds
    int summaryPages = 0;       // 0 for a single waveform
    int pages = 0;
};
ReportLayout LayOutReport(Canvas& canvas, const ReportPaper& paper, std::size_t waveforms);

// Draws page `index` (from 0) of the report.
void DrawReportPage(Canvas& canvas, const ReportPaper& paper, const ReportLayout& layout,
                    const std::vector<ReportWaveform>& waveforms, const ReportOptions& options,
                    int index);

// Every page, `newPage` called between two of them; false when a page could not be started.
bool DrawReport(Canvas& canvas, const ReportPaper& paper,
                const std::vector<ReportWaveform>& waveforms, const ReportOptions& options,
                const std::function<bool()>& newPage);

// The report as one job of a printer or PDF port: "" when it was written, else why not.
std::string PrintReport(PrinterPort& port, const ReportPaper& paper,
                        const std::vector<ReportWaveform>& waveforms, const ReportOptions& options);

} // namespace r470
