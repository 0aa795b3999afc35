#include "output/picture_qt.h"

#include "common/cp1252.h"
#include "common/file_io.h"
#include "display/painter_canvas_qt.h"
#include "display/recording_canvas.h"
#include "output/composition.h"
#include "shell/console_prompts.h"
#include "shell/messages.h"
#include "shell/text_qt.h"

#include <QBuffer>
#include <QImage>

namespace r470 {

std::string RenderPictureFile(const PictureOptions& o, const std::string& outPath,
                              std::ostream& messages) {
    if (std::string e = PictureRequestError(o, outPath); !e.empty())
        return e;
    const char* format = PictureFormatFor(outPath) == PictureFormat::Bmp ? "BMP" : "PNG";

    InstallFontSubstitutes();
    Session session;
    ConsolePrompts prompts(messages);
    DisplayHost host;          // no window: no labels, buttons or panels
    RecordingCanvas offscreen; // the "screen" the loads draw on, thrown away
    Display display(session, offscreen, host);
    DrawSurface screen{o.width, o.height, 140, 25, o.width, 0};
    display.SetSurface(screen);
    display.SetDrawParam();
    SetCommands commands(session, display, host, prompts);
    if (std::string e = LoadForPicture(session, display, commands, prompts, o); !e.empty())
        return e;

    QImage image(o.width, o.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        PainterCanvas canvas(&image);
        DrawSurface picture = screen;
        picture.windowWidth = o.width;
        DrawComposition(display, session, canvas, OutputTarget::Bitmap, picture, offscreen, screen);
        canvas.Flush();
    }
    // Encoded in memory, written by the program's one safe writer like every other file.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return "cannot encode the picture";
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                                        static_cast<std::size_t>(encoded.size()));
    if (int e = WriteFileBytes(outPath, bytes); e != 0)
        return "cannot write " + outPath + ": " + Cp1252ToUtf8(IoErrorText(e));
    return "";
}

} // namespace r470
