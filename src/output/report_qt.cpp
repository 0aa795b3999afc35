#include "output/report_qt.h"

#include "display/painter_canvas_qt.h"
#include "output/printer_qt.h"
#include "shell/text_qt.h"

#include <QDate>
#include <QLocale>
#include <QPageSize>
#include <QPrinter>

namespace r470 {

std::string WriteReportPdf(const std::vector<ReportWaveform>& waveforms,
                           const ReportOptions& options, PaperKind paper, const std::string& path) {
    InstallFontSubstitutes();
    const QPageSize size(paper == PaperKind::A4 ? QPageSize::A4 : QPageSize::Letter);
    PdfPagePort port(path, QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    const ReportPaper pixels{port.PhysicalPageWidth(),
                             PaperPixels(paper, PdfPagePort::kResolution).height};
    return PrintReport(port, pixels, waveforms, options);
}

bool PaintReport(QPrinter& printer, const std::vector<ReportWaveform>& waveforms,
                 const ReportOptions& options) {
    InstallFontSubstitutes();
    printer.setFullPage(true);
    const QRect sheet = printer.pageLayout().fullRectPixels(printer.resolution());
    PainterCanvas canvas(&printer);
    if (!canvas.Begin())
        return false;
    bool ok = DrawReport(canvas, {sheet.width(), sheet.height()}, waveforms, options,
                         [&] { return canvas.ActivePainter() && printer.newPage(); });
    canvas.Flush();
    return ok;
}

PaperKind SystemPaper() {
    return DefaultPaper(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem);
}

std::string ReportToday() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

} // namespace r470
