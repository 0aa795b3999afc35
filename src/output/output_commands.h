// The output commands of the main window: "Print", "To clipboard" and "To file". They
// decide what is asked and told and which layout is drawn; the devices (the printer with
// its dialog, the picture with the clipboard and its encoders) are behind the ports below.
#pragma once

#include "common/file_io.h"
#include "display/display.h"
#include "display/label_source.h"
#include "output/picture_job.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

class FileChooser;
class Prompts;

// Whether there is a printer to print on, and whether the print dialog can make a PDF file
// without one (Windows' dialog cannot: it does not open without a printer).
struct PrinterPresence {
    bool printer = true;
    bool dialogMakesPdf = true;
};

// A printer and its job. Failures come back as the platform's reason; "" is success.
class PrinterPort {
  public:
    virtual ~PrinterPort() = default;
    virtual PrinterPresence Presence() const { return {}; }
    // The system's print dialog: the number of copies asked for, nothing when cancelled.
    virtual std::optional<int> ShowPrintDialog() = 0;
    virtual std::string BeginJob() = 0;
    // Valid between BeginJob and EndJob or AbortJob.
    virtual Canvas& PageCanvas() = 0;
    // The whole sheet's width in device pixels, margins included.
    virtual int PhysicalPageWidth() const = 0;
    virtual std::string NewPage() = 0;
    virtual std::string EndJob() = 0;
    virtual void AbortJob() = 0;
};

struct WindowSize {
    int width = 0, height = 0;
};

// A picture of the window's outer size and where it can go.
class PicturePort {
  public:
    virtual ~PicturePort() = default;
    // The main window's outer size, frame and title bar included.
    virtual WindowSize OuterSize() const = 0;
    // A white picture to draw on; nullptr when one that size cannot be made.
    virtual Canvas* BeginPicture(WindowSize size) = 0;
    // Replaces the clipboard's contents with the picture; false when that failed.
    virtual bool PictureToClipboard() = 0;
    // The picture as the bytes of a file; empty when it cannot be encoded.
    virtual std::vector<std::uint8_t> EncodePicture(PictureFormat format) = 0;
    virtual void EndPicture() = 0;
    // A PDF page, laid out as a printed one, that `writer` writes to `path` at the job's end.
    virtual std::unique_ptr<PrinterPort> PdfPages(const std::string& path, FileWriter writer) = 0;
};

// The name the "To file" dialog proposes: the current waveform's file name without folder,
// cut before its first ".", with ".BMP"; "DIFF.BMP" for the difference waveform.
std::string PicturePresetName(const WaveformSet& set);
// The file a chosen name writes: ".BMP" added when the name itself has no ".".
std::string PicturePath(const std::string& chosen);
// By the name's extension in any letter case: ".bmp", ".png" or ".pdf"; None for any other.
PictureFormat PictureFormatForChosenName(const std::string& path);
// Why "Print" cannot go on as asked ("" when it can): no printer, and where the dialog cannot
// make a PDF file either, the ways out.
std::string NoPrinterText(const PrinterPresence& presence);

class OutputCommands {
  public:
    OutputCommands(Workspace& session, Display& display, Prompts& prompts,
                   const LabelSource& labels, FileWriter writer = WriteFileSafely)
        : session_(session), display_(display), prompts_(prompts), labels_(labels),
          writer_(std::move(writer)) {}

    // "Print": the dialog, then the copies as pages of one job. Without a printer the user
    // is told first; the dialog follows only where it can still make a PDF file.
    void MenuPrint(PrinterPort& printer);
    // The job itself: `copies` below 1 prints one. False when it failed (the user was told,
    // with `failure`, a catalogue number, and the reason).
    bool PrintPages(PrinterPort& printer, int copies, int failure = kCannotPrintMessage);

    // The composition on a new picture of the window's size; false when none could be made.
    // The picture stays with the port until EndPicture.
    bool PrintToImage(PicturePort& picture);
    void MenuToClip(PicturePort& picture);
    void MenuToFile(PicturePort& picture, FileChooser& files);
    // Draws the picture and writes it to `path` in `format` (a PDF as a printed page); false
    // (the user told) on failure.
    bool SavePicture(PicturePort& picture, const std::string& path, PictureFormat format);

    static constexpr int kCannotPrintMessage = 98;

  private:
    void Problem(int message, const std::string& reason = "");

    Workspace& session_;
    Display& display_;
    Prompts& prompts_;
    const LabelSource& labels_;
    FileWriter writer_;
};

} // namespace r470
