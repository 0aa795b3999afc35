// "Find fault" and "Next event": the cursors put on the launch and on a reflection the
// analysis found, or on the first change between the two compared waveforms.
#pragma once

#include "analysis/trace_events.h"
#include "display/display.h"

#include <optional>
#include <vector>

namespace r470 {

class Prompts;

extern const char* const kNoReflectionText; // "No reflection stands above the noise"

struct FaultTargets {
    bool found = false;
    double cursor1Ns = 0; // the launch onset, never before the first sample
    double cursor2Ns = 0; // the largest event, or the first change
    double bodyEndNs = 0; // where that reflection's body ends, for the view to show it
};

// For the current waveform: the launch onset and the largest event. For the difference
// waveform: the launch onset of the first compared waveform and the first change of the
// second against it (the lower slot is the reference).
FaultTargets FindFaultTargets(const WaveformSet& set);

// The events "Next event" walks: those of the current waveform, or of the second compared
// waveform when the difference is current.
std::vector<TraceEvent> EventsToWalk(const WaveformSet& set);

struct EventStep {
    double onsetNs = 0;
    bool wrapped = false; // no event lay further that way: this is from the other end
};

// The onset of the next event after `fromNs` (dir +1) or the one before it (dir -1),
// wrapping round; nothing when there are no events.
std::optional<EventStep> NextEventOnset(const std::vector<TraceEvent>& events, double fromNs,
                                        int dir);

// Where the body of the reflection that starts at `onsetNs` ends, on the waveform "Next
// event" walks: a few launch pulse widths on, and past the event's peak.
double ReflectionEndNs(const WaveformSet& set, double onsetNs);

// Puts cursor 1 and cursor 2 (made active) at the times given. When the view does not show
// cursor 2's event up to `bodyEndNs` with the cursor clear of the right edge, an unzoomed
// range grows and a zoomed view moves (its range growing first when it must). Draws nothing.
void PlaceCursors(Display& display, double cursor1Ns, double cursor2Ns, double bodyEndNs);

// The commands: "No traces loaded" or "No reflection stands above the noise" and nothing
// moves, else the cursors are placed and the display redrawn. A step with no event further
// that way beeps, as a command with nothing to do does, and wraps round. `redraw` false only places
// them (a picture drawn afterwards).
bool FindFault(const WaveformSet& set, Display& display, Prompts& prompts, bool redraw = true);
bool StepEvent(const WaveformSet& set, Display& display, Prompts& prompts, int dir);

} // namespace r470
