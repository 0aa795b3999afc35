#include "output/composition.h"

#include "output/details_table.h"

namespace r470 {

BorrowedDisplay::BorrowedDisplay(Display& display, Workspace& session, Canvas& canvas,
                                 OutputTarget target, const DrawSurface& surface)
    : display_(display), session_(session), screen_(display.canvas()),
      screenSurface_(display.Surface()) {
    session_.target = target;
    display_.SetCanvas(canvas);
    display_.SetSurface(surface);
}

BorrowedDisplay::~BorrowedDisplay() {
    session_.target = OutputTarget::Screen;
    display_.SetCanvas(screen_);
    display_.SetSurface(screenSurface_);
    // The mouse maps through the layout before the next repaint would set it again.
    display_.SetDrawParam();
}

void PrintTrace(Display& display, Workspace& session, const LabelSource& labels) {
    display.SetDrawParam();
    if (session.set.TraceCount > 0) {
        display.RedrawTraces();
        display.RangeText();
        display.ShowRange(kBlack);
        display.DrawCursors(true);
        display.TraceText(session.set.CurTrace, true);
        display.ShowGain();
        display.ShowDiel(kBlack);
    }
    DrawDetailsTable(display.canvas(), display.state(), session.set, labels);
}

void DrawComposition(Display& display, Workspace& session, Canvas& canvas, OutputTarget target,
                     const DrawSurface& surface, const LabelSource& labels) {
    BorrowedDisplay borrowed(display, session, canvas, target, surface);
    PrintTrace(display, session, labels);
}

} // namespace r470
