#include "output/printer_qt.h"

#include "shell/messages.h"

#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinterInfo>

#include <cmath>

namespace r470 {

namespace {
// From the sheet's size in millimetres, as a printer driver reports it: an A4 sheet at
// 600 dpi is 4960 pixels wide (its size in whole points would give 4958).
int SheetWidthPixels(const QPageLayout& layout, int resolution) {
    double mm = layout.fullRect(QPageLayout::Millimeter).width();
    return static_cast<int>(std::floor(mm / 25.4 * resolution + 1e-6));
}
} // namespace

PdfPagePort::PdfPagePort(std::string path, const QPageLayout& layout, int resolution,
                         FileWriter writer)
    : path_(std::move(path)), layout_(layout), resolution_(resolution), writer_(std::move(writer)) {
    // The page is laid out from the sheet's edge, as on a printer drawing on the whole sheet.
    layout_.setMode(QPageLayout::FullPageMode);
    layout_.setMargins(QMarginsF());
}

PdfPagePort::~PdfPagePort() {
    AbortJob();
}

std::string PdfPagePort::BeginJob() {
    if (path_.empty())
        return "no file name for the PDF";
    buffer_.setData(QByteArray());
    if (!buffer_.open(QIODevice::WriteOnly))
        return "cannot make the PDF in memory";
    pdf_ = std::make_unique<QPdfWriter>(&buffer_);
    pdf_->setResolution(resolution_);
    pdf_->setPageLayout(layout_);
    pdf_->setCreator("R470");
    canvas_.SetDevice(pdf_.get());
    if (!canvas_.Begin()) {
        AbortJob();
        return "cannot start the PDF page";
    }
    return "";
}

int PdfPagePort::PhysicalPageWidth() const {
    return SheetWidthPixels(layout_, resolution_);
}

std::string PdfPagePort::NewPage() {
    if (!canvas_.ActivePainter() || !pdf_->newPage())
        return "cannot start a new PDF page";
    return "";
}

std::string PdfPagePort::EndJob() {
    canvas_.Flush();
    canvas_.SetDevice(nullptr);
    pdf_.reset();
    buffer_.close();
    const QByteArray& data = buffer_.data();
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                        static_cast<std::size_t>(data.size()));
    int code = writer_(path_, [bytes](ByteSink& out) { return out.Write(bytes); });
    buffer_.setData(QByteArray());
    return code == 0 ? "" : IoErrorText(code);
}

void PdfPagePort::AbortJob() {
    canvas_.Flush();
    canvas_.SetDevice(nullptr);
    pdf_.reset();
    buffer_.close();
    buffer_.setData(QByteArray());
}

QtPrinterPort::QtPrinterPort(QWidget* dialogParent)
    : parent_(dialogParent), printer_(QPrinter::HighResolution) {}

QtPrinterPort::~QtPrinterPort() {
    AbortJob();
}

PrinterPresence QtPrinterPort::Presence() const {
    PrinterPresence p;
#ifdef _WIN32
    p.dialogMakesPdf = false;
#endif
    // A PDF file already chosen in the dialog prints without a printer.
    bool toFile =
        printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
    p.printer = toFile || !QPrinterInfo::availablePrinterNames().isEmpty();
    return p;
}

std::optional<int> QtPrinterPort::ShowPrintDialog() {
    QPrintDialog dialog(&printer_, parent_);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    int copies = printer_.copyCount();
    // The copies are drawn as pages of the job; the printing system must not repeat them.
    printer_.setCopyCount(1);
    return copies;
}

std::string QtPrinterPort::BeginJob() {
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        pdf_ = std::make_unique<PdfPagePort>(printer_.outputFileName().toStdString(),
                                             printer_.pageLayout());
        std::string error = pdf_->BeginJob();
        if (!error.empty())
            pdf_.reset();
        return error;
    }
    if (!printer_.isValid())
        return "no printer is available";
    printer_.setFullPage(true);
    canvas_.SetDevice(&printer_);
    if (!canvas_.Begin()) {
        canvas_.SetDevice(nullptr);
        return "the printing system did not accept the job";
    }
    return "";
}

Canvas& QtPrinterPort::PageCanvas() {
    return pdf_ ? pdf_->PageCanvas() : canvas_;
}

int QtPrinterPort::PhysicalPageWidth() const {
    if (pdf_)
        return pdf_->PhysicalPageWidth();
    return SheetWidthPixels(printer_.pageLayout(), printer_.resolution());
}

std::string QtPrinterPort::NewPage() {
    if (pdf_)
        return pdf_->NewPage();
    if (!canvas_.ActivePainter() || !printer_.newPage())
        return "the printer did not start a new page";
    return "";
}

std::string QtPrinterPort::EndJob() {
    if (pdf_) {
        std::string error = pdf_->EndJob();
        pdf_.reset();
        return error;
    }
    canvas_.Flush();
    canvas_.SetDevice(nullptr);
    if (printer_.printerState() == QPrinter::Error || printer_.printerState() == QPrinter::Aborted)
        return "the printing system did not accept the job";
    return "";
}

void QtPrinterPort::AbortJob() {
    if (pdf_) {
        pdf_->AbortJob();
        pdf_.reset();
        return;
    }
    if (canvas_.ActivePainter())
        printer_.abort();
    canvas_.Flush();
    canvas_.SetDevice(nullptr);
}

} // namespace r470
