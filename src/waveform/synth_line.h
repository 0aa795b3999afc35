// A lossy cable for synthetic waveforms: a launched pulse, any number of reflections, each
// one spread by the cable's skin effect (a loss that grows with the square root of frequency
// times distance), Gaussian converter noise and 8-bit samples.
#pragma once

#include "waveform/trace_records.h"

#include <vector>

namespace r470 {

struct LineReflection {
    double atNs = 0;        // two-way time from the launch's start
    double coefficient = 0; // signed: positive for a higher impedance (open-like)
};

// How the baseline moves over a record: a steady drift (a warming converter), the recovery
// of an AC-coupled input after the launch, or the slow step of a long cable's DC resistance
// halfway through.
enum class DriftShape { Steady, Recovery, Step };

struct LineModel {
    int samples = 2048;
    double intervalNs = 0.5;
    double pulseWidthNs = 10;
    double launchCounts = 90; // height of the launched pulse above the baseline
    double launchStartNs = 0;
    double baseline = 128;  // the quiescent level, need not be a whole count
    double lossDbPerUs = 0; // loss at 100 MHz per microsecond of two-way travel
    double noise = 0.5;     // standard deviation of the noise, counts
    unsigned seed = 1;
    double driftCounts = 0; // how far the stored samples move over the record, signed
    DriftShape driftShape = DriftShape::Steady;
    std::vector<LineReflection> reflections; // in the order the pulse meets them
};

// The launched pulse's edges, ns: 1 and 2 ns, or a tenth and a fifth of a long pulse; the
// fall starts one pulse width after the start.
double LineRiseNs(const LineModel& m);
double LineFallNs(const LineModel& m);

// The pulse as it comes back from reflection k alone, in counts above the baseline, without
// noise: the launch's trapezoid through the cable's loss, scaled by the coefficient and by
// what the earlier discontinuities let through.
double ReflectedPulse(const LineModel& m, std::size_t k, double tNs);
// The launched pulse with its undershoot, without noise.
double LaunchedPulse(const LineModel& m, double tNs);

// The baseline's move at `tNs`, in stored counts: 0 at the start, driftCounts at the end.
double BaselineDrift(const LineModel& m, double tNs);

// The samples: the pulses, the drift and the noise, turned over as the instrument stores them
// (larger samples are drawn lower), rounded and kept within 0..255.
void FillLineSamples(const LineModel& m, TraceSamples& out);

} // namespace r470
