// "Cable type": the cable library in a dialog with a filter, the velocity factor measured
// on a piece of known length between the cursors, and the chosen factor applied to the
// display as the dielectric controls apply one. The dialog only shows what this decides.
#pragma once

#include "analysis/cable_library.h"

#include <optional>
#include <string>
#include <vector>

namespace r470 {

class Display;
class Prompts;
struct Workspace;

// One line of the dialog's list, as shown; the name and the note are UTF-8 as the list
// holds them.
struct CableRow {
    std::string name;
    std::string pvf;      // "0.660"
    std::string velocity; // in the present dielectric units; "" in PVF
    std::string note;
    std::string source; // "built-in" or "user"
};

struct CableChoice {
    int diel = 0;
    std::string name; // UTF-8; shown in the details panel
};

// The name shown for a factor measured and applied without being saved.
extern const char* const kKnownLengthName;

class CableDialogModel {
  public:
    CableDialogModel(Workspace& session, Display& display, Prompts& prompts, std::string listPath);

    // Reads the user's list again; tells the user every line that was skipped, or that the
    // file cannot be read, once for the file as it is (again when it changes).
    void Reload();
    const CableLibrary& Library() const { return library_; }
    // The cables whose name or note holds `filter`, in any letter case.
    std::vector<CableRow> Rows(const std::string& filter) const;
    // The velocity column's heading in the present units; "" when they are PVF.
    std::string VelocityHeading() const;
    // The unit a known length is entered in: the X axis's, metres on a time axis.
    std::string LengthUnit() const;
    // The time between the cursors, as the calibration uses it.
    std::string CursorTimeText() const;

    // The velocity factor that makes `lengthText` the length between the cursors. A refusal
    // is shown and leaves no factor.
    bool Calibrate(const std::string& lengthText);
    // "PVF 0.662" once a factor is measured, else "".
    std::string CalibrationText() const;
    std::optional<CableChoice> Calibrated() const;
    // Saves the measured factor under `name` (UTF-8) in the user's list. Asks before replacing a
    // cable of the user's; refusals and failed writes are shown. True when saved.
    bool SaveCalibration(const std::string& name);
    // The listed cable of that name.
    std::optional<CableChoice> Choice(const std::string& name) const;

  private:
    bool Feet() const;

    Workspace& session_;
    Display& display_;
    Prompts& prompts_;
    std::string listPath_;
    UserCableFile user_;
    CableLibrary library_;
    std::optional<int> calibrated_;
    double length_ = 0;
    std::string savedName_;
};

class CableWindow {
  public:
    virtual ~CableWindow() = default;
    // Shows the dialog over `model`: the cable to apply, or nothing when cancelled.
    virtual std::optional<CableChoice> ChooseCable(CableDialogModel& model) = 0;
};

// The display's dielectric set from a cable exactly as the dielectric controls set it (the
// same clamp, every loaded waveform marked changed), then its name shown.
void ApplyCable(Display& display, Prompts& prompts, const CableChoice& choice);

// "Cable type": "No traces loaded" with nothing loaded, else the dialog and its choice.
void CableTypeCommand(Workspace& session, Display& display, Prompts& prompts, CableWindow& window,
                      const std::string& listPath);

} // namespace r470
