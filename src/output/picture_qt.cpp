#include "output/picture_qt.h"

#include "display/label_source.h"
#include "display/recording_canvas.h"
#include "output/printer_qt.h"
#include "shell/console_prompts.h"
#include "shell/messages.h"
#include "shell/text_qt.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QPageSize>

namespace r470 {

Canvas* QtPicturePort::BeginPicture(WindowSize size) {
    EndPicture();
    // The screen's colour format; a size the machine cannot hold gives a null image.
    image_ = QImage(size.width, size.height, QImage::Format_RGB32);
    if (image_.isNull())
        return nullptr;
    image_.fill(Qt::white);
    canvas_.emplace(&image_);
    return &*canvas_;
}

const QImage& QtPicturePort::Finished() {
    if (canvas_)
        canvas_->Flush();
    return image_;
}

bool QtPicturePort::PictureToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage& image = Finished();
    if (!clipboard || image.isNull())
        return false;
    clipboard->setImage(image);
    return !clipboard->image().isNull();
}

std::vector<std::uint8_t> QtPicturePort::EncodePicture(PictureFormat format) {
    const QImage& image = Finished();
    QBuffer buffer;
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !image.save(&buffer, format == PictureFormat::Png ? "PNG" : "BMP"))
        return {};
    const QByteArray& data = buffer.data();
    return {data.begin(), data.end()};
}

void QtPicturePort::EndPicture() {
    canvas_.reset();
    image_ = QImage();
}

std::unique_ptr<PrinterPort> QtPicturePort::PdfPages(const std::string& path, FileWriter writer) {
    return std::make_unique<PdfPagePort>(
        path, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()),
        PdfPagePort::kResolution, std::move(writer));
}

std::string RenderPictureFile(const PictureOptions& o, const std::string& outPath,
                              std::ostream& messages) {
    if (std::string e = PictureRequestError(o, outPath); !e.empty())
        return e;
    const PictureFormat format = PictureFormatFor(outPath);

    InstallFontSubstitutes();
    Workspace session;
    ConsolePrompts prompts(messages);
    LabelBook labels;          // no window: the details labels are kept for the table
    RecordingCanvas offscreen; // the "screen" the loads draw on, thrown away
    Display display(session, offscreen, labels);
    display.SetSurface({o.width, o.height, 140, 25, o.width, 0});
    display.SetDrawParam();
    SetCommands commands(session, display, labels, prompts);
    if (std::string e = LoadForPicture(session, display, commands, prompts, o); !e.empty())
        return e;

    OutputCommands output(session, display, prompts, labels);
    bool ok;
    if (format == PictureFormat::Pdf) {
        PdfPagePort page(outPath,
                         QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        ok = output.PrintPages(page, 1);
    } else {
        QtPicturePort picture([&o] { return WindowSize{o.width, o.height}; });
        ok = output.SavePicture(picture, outPath, format);
    }
    if (!ok)
        return "cannot write " + outPath;
    return "";
}

} // namespace r470
