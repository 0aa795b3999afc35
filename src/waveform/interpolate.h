// A raw sample of a waveform at any time, interpolated between its two neighbouring samples:
// the difference waveform draws with it, the comparison with a reference reads with it.
#pragma once

#include "waveform/trace_slot.h"

namespace r470 {

// Raw sample `n` (from 1), held inside 1 to the largest sample count.
int RawSample(const TraceSlot& s, int n);

// The raw value of `other` at time `t` (sample i taken at i x NsPerSample), interpolated
// linearly between samples i and i + 1 and rounded to the nearest integer (halves to
// even). Past the last sample the last value holds.
int InterpolatedSample(const TraceSlot& other, double t);

} // namespace r470
