// The five display slots and the set state shared by the commands that load, save and close
// waveforms.
#pragma once

#include "waveform/trace_save.h"
#include "waveform/trace_slot.h"

#include <array>

namespace r470 {

class Prompts;

class WaveformSet {
  public:
    TraceSlot& Slot(int n) { return slots_.at(static_cast<std::size_t>(n)); }
    const TraceSlot& Slot(int n) const { return slots_.at(static_cast<std::size_t>(n)); }

    // The state at start-up: nothing loaded, nothing selected, no difference pair.
    void Reset();

    // True when slot `n` may be discarded; offers to save it first when it has edits.
    // With cancelling allowed (the program's close request) a save that fails also
    // answers false, so that closing never loses the edits.
    bool CheckChange(int n, bool cancelAllowed, int displayDiel, Prompts& prompts,
                     const FileWriter& writer = WriteFileSafely);

    int TraceCount = 0;
    int CurTrace = 0;
    int DiffA = 0;
    int DiffB = 0;

  private:
    std::array<TraceSlot, 6> slots_{}; // index 0 unused: slots are numbered 1 to 5
};

// The guard of every command that needs a waveform: tells the user "No traces loaded" and
// answers true when nothing is loaded.
bool NoTraces(const WaveformSet& set, Prompts& prompts);

// The guard of commands that need a real waveform: when the difference waveform is the
// current one, shows the refusal in the message window and answers true.
extern const char* const kDiffRefusalText;
bool DiffWave(const WaveformSet& set, Prompts& prompts);

// The question asked before a changed waveform is discarded.
std::string SaveChangesQuestion(const TraceSlot& slot);

} // namespace r470
