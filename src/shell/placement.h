// Where the main window opens and what of its placement is kept at close.
#pragma once

#include "shell/ini_file.h"
#include "shell/settings.h"

#include <string>

namespace r470 {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

struct Placement {
    WindowRect normal; // the window's normal (not maximised) position and size
    bool maximized = false;
    bool operator==(const Placement&) const = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The main window's design position and size.
constexpr WindowRect kMainDesignRect{380, 114, 648, 489};

// Applies the INI placement of `section` to a window now at `current`. An empty
// application name means no INI file, and nothing changes.
Placement RestorePlacement(const std::string& appName, const IniFile& ini,
                           const std::string& section, const Placement& current, ScreenSize screen);

// The start-up placement: the INI decision first, then the settings file's placement, then
// fitted to the screen.
Placement StartupPlacement(const std::string& appName, const IniFile& ini,
                           const std::string& section, const Placement& current, ScreenSize screen,
                           const SettingsRecord& settings);

// The rect moved and cut so that all of it lies on the screen; a rect that does is unchanged.
WindowRect FitToScreen(const WindowRect& r, ScreenSize screen);

// Stores the placement at close: a maximised window keeps the last stored position. Values
// that do not fit the record's 16-bit fields are clamped.
void StorePlacement(SettingsRecord& settings, const Placement& now);

} // namespace r470
