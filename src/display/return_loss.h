// Return loss: the size of a reflection against the size of the launched pulse, both read
// from the raw samples of one waveform between its cursors.
#pragma once

#include "waveform/waveform_set.h"

#include <string>

namespace r470 {

struct ReturnLoss {
    int refusal = 0; // catalogue number of the refusal; 0 when measured
    int pulse = 0;   // largest deviation in the pulse window (P)
    int reflection = 0;
    double ratio = 0; // R / P, 0 when P is 0
    double dB = 0;    // 20 log10(1 / ratio), 0 when the ratio is 0
    std::string ratioText;
    std::string dBText;
};

// Fixed-point with exactly two decimals, whatever the process's locale.
std::string TwoDecimals(double v);

// The measurement on one waveform with cursors at `c1` and `c2` ns: the earlier cursor
// marks the pulse. Refuses a cursor past the last sample.
ReturnLoss MeasureReturnLoss(const TraceSlot& slot, double c1, double c2);

// The measurement on the current waveform of a set, with the set's own refusals: nothing
// loaded, or the difference waveform current.
ReturnLoss MeasureCurrentReturnLoss(const WaveformSet& set, double c1, double c2);

} // namespace r470
