// The main window's "Print", "To clipboard" and "To file" with their devices: the
// window's print dialog and printer, pictures of the window's outer size, the waveform
// file dialog. Each menu handler of the window is one call here.
#pragma once

#include "output/output_commands.h"
#include "output/picture_qt.h"
#include "output/printer_qt.h"

class QWidget;

namespace r470 {

class FileChooser;

class OutputMenu {
  public:
    // `window` parents the print dialog and gives the picture its size.
    OutputMenu(QWidget* window, Workspace& session, Display& display, Prompts& prompts,
               const LabelSource& labels, FileChooser& files);

    void MenuPrintClick() { commands_.MenuPrint(printer_); }
    void MenuToClipClick() { commands_.MenuToClip(picture_); }
    void MenuToFileClick() { commands_.MenuToFile(picture_, files_); }

    OutputCommands& Commands() { return commands_; }
    QtPrinterPort& Printer() { return printer_; }

  private:
    OutputCommands commands_;
    QtPrinterPort printer_;
    QtPicturePort picture_;
    FileChooser& files_;
};

} // namespace r470
