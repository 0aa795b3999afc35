#include "output/composition.h"

namespace r470 {

void DrawComposition(Display& display, Session& session, Canvas& canvas, OutputTarget target,
                     const DrawSurface& surface, Canvas& screen, const DrawSurface& screenSurface) {
    session.target = target;
    display.SetCanvas(canvas);
    display.SetSurface(surface);
    display.SetDrawParam();
    if (session.set.TraceCount > 0) {
        display.RedrawTraces();
        display.RangeText();
        display.ShowRange(kBlack);
        display.DrawCursors(true);
        display.ShowDiel(kBlack);
    }
    session.target = OutputTarget::Screen;
    display.SetCanvas(screen);
    display.SetSurface(screenSurface);
    display.SetDrawParam();
}

} // namespace r470
