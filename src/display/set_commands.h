// The commands on the waveform set that the window offers: open ("Add waveform"), load,
// save, save as, close some or all, with the offer to save changes first, and the slot
// buttons that name the loaded files.
#pragma once

#include "display/display.h"
#include "waveform/close_chooser.h"
#include "waveform/workspace.h"

#include <array>
#include <optional>
#include <string>

namespace r470 {

class FileChooser;
class Prompts;

// The file name in upper case, letters a to z only, as the slot buttons and questions show it.
std::string UpperFileName(const std::string& path);
// The shown form of a path on disk: the file system's UTF-8 as the program's code page, in
// upper case.
std::string ShownFileName(const std::string& path);

// Asked by a load, once the file has been read into the free slot `slot` and while other
// waveforms are loaded: whether the new one may join them. It may clear the set and move
// the new waveform into slot 1 (changing `slot`). False abandons the load.
class LoadCheck {
  public:
    virtual ~LoadCheck() = default;
    virtual bool GoOn(int& slot) = 0;
};

class SetCommands {
  public:
    SetCommands(Workspace& session, Display& display, DisplayHost& host, Prompts& prompts)
        : session_(session), display_(display), host_(host), prompts_(prompts) {}
    void SetChoosers(FileChooser* files, CloseChooser* close) {
        files_ = files;
        close_ = close;
    }
    // Without a check every readable file joins the set.
    void SetLoadCheck(LoadCheck* check) { check_ = check; }

    // "Add waveform": refuses a fifth waveform before any dialog, then asks for a file.
    void Recall();
    // Loads `path` into the lowest free slot; returns the load state (0 when loaded,
    // LoadAbandoned when the user gave it up at a compatibility question).
    int LoadFile(const std::string& path);
    // Tells the user and answers true when nothing is loaded.
    bool NoTraces();
    bool CheckChange(int slot, bool cancelAllowed);
    void ClearAllTraces();
    // "New" and "Close all waveforms".
    void MenuNew();
    void MenuCloseWave();
    void MenuSave();
    void MenuSaveAs();
    // A path to save under, proposing `proposed`; empty when cancelled.
    std::string GetFileName(const std::string& proposed);

    // The short name of a slot, UTF-8: file name without folder and ".KEL"; "Diff" for slot 5.
    std::string GetName(int slot) const;
    void SetButton(int slot);
    void ClearButton(int slot);

  private:
    void Forget(int slot);
    // An empty graph, no details, and the start panel in place of the waveforms.
    void ShowEmpty();

    Workspace& session_;
    Display& display_;
    DisplayHost& host_;
    Prompts& prompts_;
    FileChooser* files_ = nullptr;
    CloseChooser* close_ = nullptr;
    LoadCheck* check_ = nullptr;
};

} // namespace r470
