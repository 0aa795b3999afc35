// The difference waveform's one rule that needs no display: a raw sample of a waveform at
// any time, interpolated between its two neighbouring samples.
#pragma once

#include "waveform/trace_slot.h"

namespace r470 {

// The raw value of `other` at time `t` (sample i taken at i x NsPerSample), interpolated
// linearly between samples i and i + 1 and rounded to the nearest integer (halves to
// even). Past the last sample the last value holds.
int InterpolatedSample(const TraceSlot& other, double t);

} // namespace r470
