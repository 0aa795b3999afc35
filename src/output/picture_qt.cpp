#include "output/picture_qt.h"

#include "display/painter_canvas_qt.h"
#include "display/recording_canvas.h"
#include "output/composition.h"
#include "shell/console_prompts.h"
#include "shell/text_qt.h"

#include <QImage>

namespace r470 {

std::string RenderPictureFile(const PictureOptions& o, const std::string& outPath,
                              std::ostream& messages) {
    if (std::string e = PictureRequestError(o, outPath); !e.empty())
        return e;
    const char* format = PictureFormatFor(outPath) == PictureFormat::Bmp ? "BMP" : "PNG";
    QString path = QString::fromStdString(outPath);

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
    if (!image.save(path, format))
        return "cannot write " + outPath;
    return "";
}

} // namespace r470
