// What a picture of the display shows when it is made without a window: which files, which
// units, where the cursors stand, zoomed or not.
#pragma once

#include "display/set_commands.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace r470 {

struct PictureOptions {
    std::vector<std::string> files;
    int width = 648; // the main window's design size
    int height = 489;
    std::optional<int> axisUnits; // settings as on a first run otherwise: metres, PVF
    std::optional<int> dielUnits;
    // Set after loading, as the window's dielectric controls set it; the first file's otherwise.
    std::optional<int> diel;
    std::optional<std::pair<double, double>> cursorsNs;
    bool cursorsAuto = false; // as "Find fault" puts them: on the launch and on the fault
    std::optional<std::pair<int, int>> diff; // the compared slots: their difference is drawn
    bool zoom = false;
    std::optional<int> current; // the selected slot; the last file loaded otherwise
};

// No waveform lasts longer: 2048 samples of the longest interval the header can hold.
constexpr double kMaxCursorNs = 2048.0 * (65535.0 + 255.0 * 65535.0) / 1000.0;

enum class PictureFormat { None, Bmp, Png, Pdf };
// The output format a file name asks for, by its extension in any letter case.
PictureFormat PictureFormatFor(const std::string& path);
// A number of the request outside its range (size, current slot, cursors, compared slots),
// or "": what a command line refuses as a usage error.
std::string PictureNumbersError(const PictureOptions& options);
// What is wrong with a picture request before anything is loaded, or "".
std::string PictureRequestError(const PictureOptions& options, const std::string& outPath);

// Loads the files into slots 1, 2, ... as "Add waveform" does and applies the options.
// Returns an error text, or "" when every file loaded.
std::string LoadForPicture(Workspace& session, Display& display, SetCommands& commands,
                           Prompts& prompts, const PictureOptions& options);

} // namespace r470
