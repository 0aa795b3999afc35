// The picture of the display as a Qt image: drawn by the output commands, put on the
// clipboard or encoded as a BMP or PNG file's bytes. Also the rendering of pictures and
// PDF pages without a window.
#pragma once

#include "display/painter_canvas_qt.h"
#include "output/output_commands.h"
#include "output/picture_job.h"

#include <QImage>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace r470 {

class QtPicturePort : public PicturePort {
  public:
    explicit QtPicturePort(std::function<WindowSize()> outerSize)
        : outerSize_(std::move(outerSize)) {}
    WindowSize OuterSize() const override { return outerSize_(); }
    Canvas* BeginPicture(WindowSize size) override;
    bool PictureToClipboard() override;
    std::vector<std::uint8_t> EncodePicture(PictureFormat format) override;
    void EndPicture() override;
    // An A4 page, as "tdrtool render" makes one.
    std::unique_ptr<PrinterPort> PdfPages(const std::string& path, FileWriter writer) override;

  private:
    const QImage& Finished();

    std::function<WindowSize()> outerSize_;
    QImage image_;
    std::optional<PainterCanvas> canvas_;
};

// Renders the display to a picture file (BMP or PNG) or a PDF page, by the file's
// extension, without a window. Needs a QGuiApplication; the offscreen platform will do.
// Returns "" on success, else what went wrong. Load problems are also told to `messages`.
std::string RenderPictureFile(const PictureOptions& options, const std::string& outPath,
                              std::ostream& messages);

} // namespace r470
