// One display slot of the waveform set and the set's shared state.
#pragma once

#include "waveform/trace_file.h"

#include <array>
#include <string>

namespace r470 {

struct TraceSlot {
    TraceData data; // slot 5 uses only the header; its samples are computed
    bool Loaded = false;
    bool Shown = false;
    bool Changed = false;
    int TraceOffset = 0;
    double NsPerSample = 0;
    std::string FileName; // upper-case form, for display only
    std::string Path;     // the real path, used for every file operation
    bool SlotMarked = false;
};

constexpr int kFileSlots = 4;
constexpr int kDiffSlot = 5;

} // namespace r470
