// The fault located from both ends of a cable of known length, without its velocity
// factor: the two-way times from each launch to the fault add up to the whole length's.
#pragma once

#include "analysis/trace_events.h"

#include <optional>
#include <string>

namespace r470 {

struct BothEndsFix {
    std::string refusal; // why the two times give no position; empty when they do
    double fromA = 0;    // distance from each end, in the length's unit
    double fromB = 0;
    int diel = 0; // the velocity factor the pair implies, x 1000
};

// `nsA` and `nsB`: two-way times from each end's launch to the fault. Refused unless both
// are positive and the length over their sum gives a factor of 0.300 to 0.999.
BothEndsFix LocateFromBothEnds(double length, bool feet, double nsA, double nsB);

// The two-way time from the launch to the fault on one waveform: to the largest event's
// onset, or to `atNs` (a time on the waveform's axis, from its first sample) when given.
// Nothing when there is no launch, or no event and no time.
std::optional<double> FaultTimeFromLaunch(const TraceAnalysis& a, std::optional<double> atNs);

// "From A: 123.45 m", "From B: ..." and "PVF 0.662", one a line, without a final newline.
std::string BothEndsText(const BothEndsFix& fix, bool feet, const std::string& nameA,
                         const std::string& nameB);

} // namespace r470
