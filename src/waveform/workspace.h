// What the commands below the main window work on: the loaded waveforms, the settings they
// are shown with and where those are kept, and where the display draws at the moment.
#pragma once

#include "shell/program.h"
#include "shell/settings.h"
#include "shell/user_options.h"
#include "waveform/waveform_set.h"

#include <cstddef>
#include <map>
#include <string>

namespace r470 {

enum class OutputTarget { Screen, Printer, Bitmap };

struct Workspace {
    AppPaths paths;
    SettingsRecord settings;
    UserOptions options;
    WaveformSet set;
    int DisplayDiel = 0;
    int TraceStep = 1;
    OutputTarget target = OutputTarget::Screen;
    // Files whose problems the user has been told of, by a digest of what was read: told
    // again only when the file changes.
    std::map<std::string, std::size_t> toldFiles;
};

} // namespace r470
