// Which waveforms are drawn and which two are compared (the display-mode window), the
// questions that keep an overlay meaningful (a load whose gain, pulse width or dielectric
// differs; distance units over different dielectrics), and the return-loss command.
#pragma once

#include "display/display.h"
#include "display/return_loss.h"
#include "display/set_commands.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace r470 {

class Prompts;

// The display-mode window's boxes: "Display" for rows 1 to 5 (5 is the difference
// waveform), "Difference" for rows 1 to 4. Index 0 is row 1.
struct DisplayChoice {
    std::array<bool, 5> Disp{};
    std::array<bool, 4> Diff{};
    bool operator==(const DisplayChoice&) const = default;
};

struct DisplayModeFields {
    std::array<std::string, 4> File; // FileName of each slot, empty for a free one
    DisplayChoice Boxes;
};

// The window's fields for the set as it stands.
DisplayModeFields DisplayModeFieldsFor(const WaveformSet& set);

// The catalogue number of the problem with a choice, 0 when there is none. A choice that
// displays nothing is that problem whatever else is wrong.
int DisplayChoiceProblem(const DisplayChoice& choice, const WaveformSet& set);

// One showing of the display-mode window.
class DisplayModeSession {
  public:
    DisplayModeSession(const WaveformSet& set, Prompts& prompts)
        : set_(set), prompts_(prompts), initial_(DisplayModeFieldsFor(set)) {}
    const DisplayModeFields& Initial() const { return initial_; }
    // "&Ok": true when the choice may be applied (the window closes); otherwise the
    // problem has been shown and the window stays open.
    bool OkClick(const DisplayChoice& choice);

  private:
    const WaveformSet& set_;
    Prompts& prompts_;
    DisplayModeFields initial_;
};

enum class MismatchAnswer { Ok, Cancel, ClearOthers };
enum class DielDifAnswer { ChangeToTime, MakeSame, Cancel };

// The modal windows of this unit, shown by the window program and scripted by tests.
class CompareDialogs {
  public:
    virtual ~CompareDialogs() = default;
    // Fills the window from session.Initial(), passes every "&Ok" to session.OkClick and
    // returns the accepted boxes, or nothing when cancelled.
    virtual std::optional<DisplayChoice> SelectWaveforms(DisplayModeSession& session) = 0;
    // The incompatibility window with `message` as its reason. "Clear others" calls
    // `clearClick`, which asks for confirmation: true closes the window with ClearOthers,
    // false with Cancel.
    virtual MismatchAnswer ChooseMismatch(const std::string& message,
                                          const std::function<bool()>& clearClick) = 0;
    // The question of a load with a different dielectric while distance is shown.
    virtual DielDifAnswer ChooseDielDif() = 0;
    // The X-axis units window, opened on `units`; the chosen code or nothing on Cancel.
    virtual std::optional<int> ChooseXAxis(int units) = 0;
    // The question of distance units over different dielectrics: true to make them equal.
    virtual bool ChooseDielDif2() = 0;
    // The result window of a return-loss measurement.
    virtual void ShowdBRL(const std::string& ratio, const std::string& dB) = 0;
};

// The commands behind "&Select waveform" / "&Mode", "Change &X-Axis units" and "dBRL",
// and the compatibility check of every load.
class CompareCommands : public LoadCheck {
  public:
    CompareCommands(Workspace& session, Display& display, SetCommands& commands, Prompts& prompts)
        : session_(session), display_(display), commands_(commands), prompts_(prompts) {}
    void SetDialogs(CompareDialogs* dialogs) { dialogs_ = dialogs; }

    void MenuSelWaveClick();
    // Takes an accepted choice into the set: shown slots, the pair, the difference slot,
    // the current trace, the redraw and button 5.
    void ApplyDisplayChoice(const DisplayChoice& choice);
    void MenuXAxisClick();
    bool DielAllSame() const;
    bool DiffWave();
    void ShowdBRL();

    // The load compatibility check. Without dialogs the load goes on unasked.
    bool GoOn(int& slot) override;

  private:
    Workspace& session_;
    Display& display_;
    SetCommands& commands_;
    Prompts& prompts_;
    CompareDialogs* dialogs_ = nullptr;
};

} // namespace r470
