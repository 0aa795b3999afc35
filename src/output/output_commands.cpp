#include "output/output_commands.h"

#include "common/cp1252.h"
#include "common/file_io.h"
#include "output/composition.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/file_dialog.h"

#include <algorithm>
#include <cctype>

namespace r470 {

namespace {
constexpr int MsgNoPrinters = 97;
constexpr int MsgCannotOpenClipboard = 110;
constexpr int MsgCannotSaveBitmap = 112;

std::string LastPart(const std::string& path) {
    return path.substr(NameStart(path));
}
} // namespace

std::string PicturePresetName(const WaveformSet& set) {
    if (set.CurTrace == kDiffSlot)
        return "DIFF.BMP";
    if (set.CurTrace < 1 || set.CurTrace > kFileSlots)
        return ".BMP";
    const TraceSlot& slot = set.Slot(set.CurTrace);
    // The real name keeps its letter case and its characters.
    std::string name = LastPart(slot.Path.empty() ? Cp1252ToUtf8(slot.FileName) : slot.Path);
    return name.substr(0, name.find('.')) + ".BMP";
}

std::string PicturePath(const std::string& chosen) {
    // Only the name itself counts: a dot in a folder's name is no extension.
    return LastPart(chosen).find('.') == std::string::npos ? chosen + ".BMP" : chosen;
}

PictureFormat PictureFormatForChosenName(const std::string& path) {
    return PictureFormatFor(path);
}

std::string NoPrinterText(const PrinterPresence& presence) {
    if (presence.printer)
        return "";
    std::string text = MessageText(MsgNoPrinters) + ". ";
    if (presence.dialogMakesPdf)
        return text + "The print window can still save the page as a PDF file; Export > To "
                      "file saves a picture.";
    return text + "Add the printer \"Microsoft Print to PDF\" (Settings > Printers) to make a "
                  "PDF file, or save a picture with Export > To file.";
}

void OutputCommands::Problem(int message, const std::string& reason) {
    std::string text = MessageText(message);
    if (!reason.empty())
        text += ": " + reason;
    prompts_.ShowMessageBox(text, MessageText(MsgProblem), MbOk);
}

void OutputCommands::MenuPrint(PrinterPort& printer) {
    if (NoTraces(session_.set, prompts_))
        return;
    const PrinterPresence presence = printer.Presence();
    if (std::string why = NoPrinterText(presence); !why.empty()) {
        prompts_.ShowMessageBox(why, MessageText(MsgProblem), MbOk | MbIconInformation);
        if (!presence.dialogMakesPdf)
            return;
    }
    std::optional<int> copies = printer.ShowPrintDialog();
    if (!copies)
        return;
    PrintPages(printer, *copies);
}

bool OutputCommands::PrintPages(PrinterPort& printer, int copies, int failure) {
    copies = std::max(copies, 1);
    std::string error = printer.BeginJob();
    if (!error.empty()) {
        Problem(failure, error);
        return false;
    }
    {
        DrawSurface page = display_.Surface();
        page.pageWidth = printer.PhysicalPageWidth();
        BorrowedDisplay borrowed(display_, session_, printer.PageCanvas(), OutputTarget::Printer,
                                 page);
        for (int i = 0; i < copies && error.empty(); ++i) {
            if (i > 0)
                error = printer.NewPage();
            if (error.empty())
                PrintTrace(display_, session_, labels_);
        }
    }
    if (error.empty())
        error = printer.EndJob();
    else
        printer.AbortJob();
    if (!error.empty()) {
        Problem(failure, error);
        return false;
    }
    return true;
}

bool OutputCommands::PrintToImage(PicturePort& picture) {
    WindowSize size = picture.OuterSize();
    Canvas* canvas = size.width > 0 && size.height > 0 ? picture.BeginPicture(size) : nullptr;
    if (!canvas)
        return false;
    DrawSurface surface = display_.Surface();
    surface.windowWidth = size.width;
    DrawComposition(display_, session_, *canvas, OutputTarget::Bitmap, surface, labels_);
    return true;
}

void OutputCommands::MenuToClip(PicturePort& picture) {
    if (NoTraces(session_.set, prompts_))
        return;
    bool ok = PrintToImage(picture) && picture.PictureToClipboard();
    picture.EndPicture();
    if (!ok)
        Problem(MsgCannotOpenClipboard);
}

void OutputCommands::MenuToFile(PicturePort& picture, FileChooser& files) {
    if (NoTraces(session_.set, prompts_))
        return;
    std::string working = files.WorkingFolder();
    std::optional<std::string> chosen =
        files.ChooseSave("", PicturePresetName(session_.set), false);
    files.SetWorkingFolder(working);
    if (!chosen || chosen->empty())
        return;
    std::string path = PicturePath(*chosen);
    PictureFormat format = PictureFormatForChosenName(path);
    // Bytes of one kind under another kind's name would not open as either.
    if (format == PictureFormat::None) {
        Problem(MsgCannotSaveBitmap, "the name must end in .BMP, .PNG or .PDF");
        return;
    }
    SavePicture(picture, path, format);
}

bool OutputCommands::SavePicture(PicturePort& picture, const std::string& path,
                                 PictureFormat format) {
    if (format == PictureFormat::Pdf) {
        std::unique_ptr<PrinterPort> page = picture.PdfPages(path, writer_);
        return page && PrintPages(*page, 1, MsgCannotSaveBitmap);
    }
    std::vector<std::uint8_t> bytes;
    if (PrintToImage(picture))
        bytes = picture.EncodePicture(format);
    picture.EndPicture();
    int code =
        bytes.empty() ? -1 : writer_(path, [&bytes](ByteSink& out) { return out.Write(bytes); });
    if (code != 0) {
        Problem(MsgCannotSaveBitmap);
        return false;
    }
    return true;
}

} // namespace r470
