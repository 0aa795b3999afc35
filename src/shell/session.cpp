#include "shell/session.h"

#include "common/file_io.h"

namespace r470 {

const char* const kAppName = "R470";
const char* const kMainCaption = "R470 3.04 Version";
const char* const kProgName = "Kelvanor Pulsonimetry";
const char* const kVersionText = "Version 3.04 08/03/17";
const char* const kCopyrightText = "Copyright \xA9 2017-2026 Kelvanor Pulsonimetry";
const MakerDetails kMaker = {"Kelvanor Pulsonimetry Ltd",
                             "Unit 4, Fieldside Works",
                             "Harbour Road",
                             "Kelvanor KV1 4TD",
                             "Contact Nos:",
                             "Tel +44 1632 960470"};

AppPaths DefaultAppPaths(const std::string& programPath, const std::string& configDir,
                         const std::string& workingDir) {
    return {SettingsFilePath(programPath, configDir), IniFilePath(kAppName, configDir), workingDir,
            SettingsReadPath(programPath, configDir)};
}

bool UsesNormalToolbar(const SettingsRecord& s) {
    return s.ToolBarKind == 1;
}

Placement StartSession(Session& session, const Placement& current, ScreenSize screen) {
    IniFile ini = IniFile::Load(session.paths.iniFile);
    session.messageFileFound = CanOpenForReading(session.paths.workingDir + "/MESSAGE.TXT");
    session.settings =
        LoadSettings(session.paths.settingsSource.empty() ? session.paths.settingsFile
                                                          : session.paths.settingsSource);
    Placement placement =
        StartupPlacement(kAppName, ini, kMainCaption, current, screen, session.settings);
    session.set.Reset();
    session.target = OutputTarget::Screen;
    session.TraceStep = 1;
    return placement;
}

bool CloseSession(Session& session, const Placement& now, Prompts& prompts) {
    for (int n = 1; n <= kFileSlots; ++n)
        if (!session.set.CheckChange(n, true, session.DisplayDiel, prompts))
            return false;
    StorePlacement(session.settings, now);
    SaveSettings(session.paths.settingsFile, session.settings);
    return true;
}

} // namespace r470
