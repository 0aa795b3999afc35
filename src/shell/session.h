// The program's run: the names it goes by, where its settings live, and what happens when
// the main window is first shown and when it is asked to close. The main window holds one
// Session and applies what it decides.
#pragma once

#include "shell/placement.h"
#include "shell/settings.h"
#include "waveform/waveform_set.h"

#include <string>

namespace r470 {

class Prompts;

extern const char* const kAppName;     // "R470": names the INI file
extern const char* const kMainCaption; // also the INI section
extern const char* const kProgName;
extern const char* const kVersionText;
extern const char* const kCopyrightText;

// The maker's details on the start panel, label by label.
struct MakerDetails {
    const char* Company;
    const char* Address1;
    const char* Address2;
    const char* Address3;
    const char* ContactLabel;
    const char* Contact1;
};
extern const MakerDetails kMaker;

struct AppPaths {
    std::string settingsFile; // where the settings are written
    std::string iniFile;
    std::string workingDir;          // where "MESSAGE.TXT" is looked for
    std::string settingsSource = {}; // where they are read at start-up; empty: settingsFile
};

// The paths for a program file, with the user's configuration folder as fallback.
AppPaths DefaultAppPaths(const std::string& programPath, const std::string& configDir,
                         const std::string& workingDir);

enum class OutputTarget { Screen, Printer, Bitmap };

struct Session {
    AppPaths paths;
    SettingsRecord settings;
    WaveformSet set;
    int DisplayDiel = 0;
    int TraceStep = 1;
    OutputTarget target = OutputTarget::Screen;
    bool messageFileFound = false;
};

bool UsesNormalToolbar(const SettingsRecord& s);

// The main window's first show: settings loaded, placement decided, slots emptied.
Placement StartSession(Session& session, const Placement& current, ScreenSize screen);

// The close request: offers to save each changed waveform, then stores the placement and
// writes the settings file. False when the user (or a failed save) keeps the program open;
// nothing is written then.
bool CloseSession(Session& session, const Placement& now, Prompts& prompts);

} // namespace r470
