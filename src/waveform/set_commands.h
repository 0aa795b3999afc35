// The commands on the waveform set that the window offers: loading a file into the next
// free slot and labelling the slot buttons.
#pragma once

#include "display/display.h"
#include "shell/session.h"

#include <string>

namespace r470 {

class Prompts;

// The file name in upper case, letters a to z only, as the slot buttons and questions show it.
std::string UpperFileName(const std::string& path);

class SetCommands {
  public:
    SetCommands(Session& session, Display& display, DisplayHost& host, Prompts& prompts)
        : session_(session), display_(display), host_(host), prompts_(prompts) {}

    // Loads `path` into the lowest free slot; returns the load state (0 when loaded).
    int LoadFile(const std::string& path);
    // The short name of a slot: file name without folder and ".KEL"; "Diff" for slot 5.
    std::string GetName(int slot) const;
    void SetButton(int slot);
    void ClearButton(int slot);

  private:
    Session& session_;
    Display& display_;
    DisplayHost& host_;
    Prompts& prompts_;
};

} // namespace r470
