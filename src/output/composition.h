// The display as a printed page or a picture: frame, waveforms, scale, cursors and the
// readout line, drawn by the same operations as the screen onto another canvas.
#pragma once

#include "display/display.h"

namespace r470 {

// Draws the composition on `canvas` for `target` (printer or picture). The display is
// pointed back at `screen` and the screen target afterwards.
void DrawComposition(Display& display, Session& session, Canvas& canvas, OutputTarget target,
                     const DrawSurface& surface, Canvas& screen, const DrawSurface& screenSurface);

} // namespace r470
