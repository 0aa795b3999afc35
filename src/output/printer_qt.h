// The printer behind "Print": the system's print dialog and a print job on its printer, or
// a PDF page when the dialog prints to a file. PDF pages are made in memory and written by
// the program's safe writer, never by the printing system.
#pragma once

#include "display/painter_canvas_qt.h"
#include "output/output_commands.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPrinter>
#include <memory>

class QPdfWriter;
class QWidget;

namespace r470 {

// PDF pages of a print job, written to `path` when the job ends.
class PdfPagePort : public PrinterPort {
  public:
    static constexpr int kResolution = 600; // dots per inch: an A4 sheet is 4960 wide
    PdfPagePort(std::string path, const QPageLayout& layout, int resolution = kResolution,
                FileWriter writer = WriteFileSafely);
    ~PdfPagePort() override;

    std::optional<int> ShowPrintDialog() override { return 1; }
    std::string BeginJob() override;
    Canvas& PageCanvas() override { return canvas_; }
    int PhysicalPageWidth() const override;
    std::string NewPage() override;
    std::string EndJob() override;
    void AbortJob() override;

  private:
    std::string path_;
    QPageLayout layout_;
    int resolution_;
    FileWriter writer_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> pdf_;
    PainterCanvas canvas_;
};

class QtPrinterPort : public PrinterPort {
  public:
    explicit QtPrinterPort(QWidget* dialogParent = nullptr);
    ~QtPrinterPort() override;
    // The dialog's settings; tests preset a PDF file here.
    QPrinter& Printer() { return printer_; }

    PrinterPresence Presence() const override;
    std::optional<int> ShowPrintDialog() override;
    std::string BeginJob() override;
    Canvas& PageCanvas() override;
    int PhysicalPageWidth() const override;
    std::string NewPage() override;
    std::string EndJob() override;
    void AbortJob() override;

  private:
    QWidget* parent_;
    QPrinter printer_;
    PainterCanvas canvas_;
    std::unique_ptr<PdfPagePort> pdf_; // when the dialog prints to a file
};

} // namespace r470
