// What the commands below the main window work on: the loaded waveforms, the settings they
// are shown with and where those are kept, and where the display draws at the moment.
#pragma once

#include "shell/program.h"
#include "shell/settings.h"
#include "waveform/waveform_set.h"

namespace r470 {

enum class OutputTarget { Screen, Printer, Bitmap };

struct Workspace {
    AppPaths paths;
    SettingsRecord settings;
    WaveformSet set;
    int DisplayDiel = 0;
    int TraceStep = 1;
    OutputTarget target = OutputTarget::Screen;
};

} // namespace r470
