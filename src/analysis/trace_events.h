// Reading one waveform for the technician: its baseline and noise, the launched pulse, and
// every reflection that stands clearly above the noise, with its distance from the launch.
// Works on the raw samples; display gain, offset, range and zoom change nothing.
#pragma once

#include "waveform/trace_file.h"

#include <span>
#include <vector>

namespace r470 {

// One reflection. Times are on the display's time axis, from the first sample.
struct TraceEvent {
    double onsetNs = 0;    // tangent onset of its leading edge
    double peakNs = 0;     // its extreme
    bool up = true;        // same sense as the launch: higher impedance, open-like
    double amplitude = 0;  // peak deviation from the baseline in sample units, signed
    double reflection = 0; // amplitude over the launch amplitude, signed
    // From AnalyseTrace: the return loss "dBRL" measures with cursor 1 on the launch and
    // cursor 2 on the onset. From AnalyseSamples, without a pulse width: -20 log10 |reflection|.
    double returnLossDb = 0;
};

struct TraceAnalysis {
    double nsPerSample = 0;
    double baseline = 0; // quiescent level where the launch leaves it (it may drift), sample units
    double noise = 0;    // robust noise figure, sample units
    bool hasLaunch = false;
    double launchOnsetNs = 0;
    double launchPeakNs = 0;
    double launchEndNs = 0;
    double launchAmplitude = 0;     // signed, sample units
    int smoothHalf = 0;             // the running mean matched to the launch (2 h + 1 samples)
    std::vector<TraceEvent> events; // in time order
    int largest = -1;               // index into events, -1 when there is none
};

// The samples of a record as numbers, the first SampleCount of them.
std::vector<double> RecordSamples(const TraceData& trace);

TraceAnalysis AnalyseSamples(std::span<const double> samples, double nsPerSample);
TraceAnalysis AnalyseTrace(const TraceData& trace);

// Where "Find fault" puts cursor 1: on the launch onset, but never before the first sample
// (an onset extrapolated before it would leave the cursor off the trace).
double LaunchCursorNs(const TraceAnalysis& a);

// The event whose size is greatest, -1 for none.
int LargestEvent(const std::vector<TraceEvent>& events);

// A time from the launch onset in X-axis units (feet, metres, or ns) at dielectric `diel`.
double DistanceFromLaunch(const TraceAnalysis& a, double timeNs, int diel, int units);

} // namespace r470
