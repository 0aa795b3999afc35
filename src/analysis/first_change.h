// The first place where a cable now differs from a healthy reference taken earlier: the
// difference of the two records (the coarser one resampled onto the finer grid, as the
// difference waveform does), searched after the launch for the first excursion above its
// own noise.
#pragma once

#include "analysis/trace_events.h"
#include "waveform/trace_file.h"

#include <string>

namespace r470 {

struct FirstChange {
    std::string problem; // why the two cannot be compared; empty when they were
    bool found = false;
    double onsetNs = 0; // tangent onset of the first change, from the first sample
    double noise = 0;   // noise of the difference, sample units
    TraceAnalysis wave; // the waveform's own analysis: launch onset and end
};

FirstChange CompareWithReference(const TraceData& wave, const TraceData& reference);

} // namespace r470
