// The program's run: what happens when the main window is first shown and when it is asked
// to close. The main window holds one Session and applies what it decides.
#pragma once

#include "shell/placement.h"
#include "waveform/workspace.h"

namespace r470 {

class Prompts;

struct Session : Workspace {
    bool messageFileFound = false;
};

// The main window's first show: settings loaded, placement decided, slots emptied.
Placement StartSession(Session& session, const Placement& current, ScreenSize screen);

// The close request: offers to save each changed waveform, then stores the placement and
// writes the settings file. False when the user (or a failed save) keeps the program open;
// nothing is written then.
bool CloseSession(Session& session, const Placement& now, Prompts& prompts);

} // namespace r470
