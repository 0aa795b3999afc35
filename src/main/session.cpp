#include "main/session.h"

#include "common/file_io.h"

namespace r470 {

Placement StartSession(Session& session, const Placement& current, ScreenSize screen) {
    IniFile ini = IniFile::Load(session.paths.iniFile);
    session.messageFileFound = CanOpenForReading(JoinPath(session.paths.workingDir, "MESSAGE.TXT"));
    session.settings =
        LoadSettings(session.paths.settingsSource.empty() ? session.paths.settingsFile
                                                          : session.paths.settingsSource);
    session.options = ReadUserOptions(UserOptionsPath(session.paths));
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
