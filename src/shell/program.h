// The program's names, the maker's details, and where its settings and INI file live.
#pragma once

#include <string>

namespace r470 {

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
    // The user's own files (the cable list); empty: the INI file's folder. Apart from it on
    // Windows, where the INI file lies in the Windows folder, which users cannot write.
    std::string configDir = {};
};

// The working folder (file dialogs' start, the last transmission's raw copy): the folder the
// program was started in, unless that is an installed program's folder or cannot be written
// (Windows starts "Open with" in its system folder): then `documents`, when there is one.
std::string WorkingFolder(const std::string& startedIn, const std::string& documents);

// The paths for a program file, with the user's configuration folder as fallback for the
// settings; "R470.INI" is read from `iniDir`.
AppPaths DefaultAppPaths(const std::string& programPath, const std::string& configDir,
                         const std::string& iniDir, const std::string& workingDir);

} // namespace r470
