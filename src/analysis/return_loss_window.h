// Return loss as the "dBRL" button measures it: the size of a reflection against the size of
// the launched pulse, both read from a waveform's raw samples in windows of three pulse
// widths from two cursor times. The events report gives the same figure for each event.
#pragma once

#include "waveform/trace_slot.h"

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
// marks the pulse. Refuses a cursor before the first sample or past the last.
ReturnLoss MeasureReturnLoss(const TraceSlot& slot, double c1, double c2);

} // namespace r470
