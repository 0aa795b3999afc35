// "Fault from both ends...": the current waveform is end A, the user names the loaded
// waveform of end B and the cable's length; the fault's distance from each end and the
// velocity factor they imply are shown in a message box. Nothing else changes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace r470 {

class Prompts;
struct Workspace;

// What the dialog shows: end A's name, the other loaded waveforms to choose end B from and
// the unit the length is entered in.
struct BothEndsQuestion {
    std::string endA;
    std::vector<int> slotsB;         // slot numbers
    std::vector<std::string> namesB; // shown for each
    std::string unit;                // "m" or "ft"
};

struct BothEndsAnswer {
    std::string length; // as typed
    int slotB = 0;
};

// Why an answer gives no result, for the dialog to show under the length; "" when it does.
using BothEndsCheck = std::function<std::string(const BothEndsAnswer&)>;

class BothEndsWindow {
  public:
    virtual ~BothEndsWindow() = default;
    // Nothing when cancelled. "&Ok" closes the dialog only on an answer `check` takes;
    // otherwise the dialog stays open with the reason shown and the length selected, so
    // nothing typed has to be typed again.
    virtual std::optional<BothEndsAnswer> AskBothEnds(const BothEndsQuestion& question,
                                                      const BothEndsCheck& check) = 0;
};

// The caption of the result box.
extern const char* const kBothEndsCaption; // "Fault from both ends"

// "No traces loaded", the difference waveform's refusal, or fewer than two waveforms
// loaded: told, nothing asked. Otherwise asks; a bad length, a waveform without a fault to
// time or a pair that cannot be one fault on this length is told in the dialog. Lengths
// are in feet when the X axis is in feet, else metres. Answers true when a result was shown.
bool FaultFromBothEnds(Workspace& session, Prompts& prompts, BothEndsWindow& window);

} // namespace r470
