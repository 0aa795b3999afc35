// The analyses a batch's waveforms need before they are filed: each one's change since its
// cable's baseline, or a baseline's own events. They are independent of each other, so they
// are shared among the machine's cores; the results do not depend on how many.
#pragma once

#include "archive/waveform_facts.h"
#include "waveform/trace_file.h"

#include <cstddef>
#include <functional>
#include <span>

namespace r470 {

struct FilingAnalysis {
    const TraceData* trace = nullptr;    // the waveform
    const TraceData* baseline = nullptr; // its cable's baseline; null when it is one itself
    ChangeResult change;                 // NotCompared for a baseline
    int events = 0;
};

// How many threads filing analyses on: the cores, at most eight.
unsigned FilingThreads();

// Runs job(0) to job(count - 1) on up to `threads` threads, the calling one among them, in no
// set order. `done` is told, on the calling thread only, how many have finished, ending with
// all of them. An exception a job throws is thrown here, once the other threads have stopped.
void ShareAmongThreads(std::size_t count, unsigned threads,
                       const std::function<void(std::size_t)>& job,
                       const std::function<void(std::size_t done)>& done = {});

// Runs every analysis on up to `threads` threads, the calling one among them. `done` is told,
// on the calling thread only, how many have finished, ending with all of them.
void RunFilingAnalyses(std::span<FilingAnalysis> work, unsigned threads,
                       const std::function<void(std::size_t done)>& done = {});

} // namespace r470
