// The display as a printed page or a picture: frame, waveforms, scale, cursors, readouts
// and the details table, drawn by the same operations as the screen onto another canvas.
#pragma once

#include "display/display.h"
#include "display/label_source.h"

namespace r470 {

// Points the display at a page or picture for as long as it lives, and gives the screen
// its canvas, target and layout back when it goes, also when drawing was cut short.
class BorrowedDisplay {
  public:
    BorrowedDisplay(Display& display, Workspace& session, Canvas& canvas, OutputTarget target,
                    const DrawSurface& surface);
    ~BorrowedDisplay();
    BorrowedDisplay(const BorrowedDisplay&) = delete;
    BorrowedDisplay& operator=(const BorrowedDisplay&) = delete;

  private:
    Display& display_;
    Workspace& session_;
    Canvas& screen_;
    DrawSurface screenSurface_;
};

// One page or picture on the display's current canvas and target: the layout for the
// target, then waveforms, scale and readout labels, cursors, details, gain and dielectric,
// then the details table from the labels' texts.
void PrintTrace(Display& display, Workspace& session, const LabelSource& labels);

// PrintTrace on `canvas`, the display borrowed for the time it takes.
void DrawComposition(Display& display, Workspace& session, Canvas& canvas, OutputTarget target,
                     const DrawSurface& surface, const LabelSource& labels);

} // namespace r470
