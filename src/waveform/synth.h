// Synthetic waveforms: a plausible cable trace with a launch pulse and one fault, made
// without an instrument for tests, demonstrations and the sample files. The same options
// always give the same bytes, on any machine.
#pragma once

#include "waveform/synth_line.h"
#include "waveform/trace_file.h"

#include <string>

namespace r470 {

struct SynthOptions {
    enum Fault { Open, Short, None };

    int samples = 2048;
    int intervalPs = 500;
    int diel = 660;
    int gain = 3;
    int pulseWidthNs = 10;
    double faultAtNs = 600;
    Fault fault = Open;
    int memNo = 1;
    std::string cableId = "FEEDER 1"; // Windows-1252
    unsigned seed = 1;
    // The lossy cable (any of these set): more reflections, skin-effect loss in dB at
    // 100 MHz per microsecond of two-way travel, Gaussian noise in counts.
    std::vector<LineReflection> reflections;
    double lossDbPerUs = 0;
    double noise = -1; // -1: the converter's -2..2 counts; with the lossy cable 0.5
    bool UsesLineModel() const { return !reflections.empty() || lossDbPerUs > 0 || noise >= 0; }
};

// Limits of the options, from the header fields that store them.
constexpr int kSynthMaxIntervalPs = 255 * 65535 + 65534;
constexpr int kSynthMinDiel = 300;
constexpr int kSynthMaxDiel = 999;
constexpr int kSynthMaxMemNo = 48;

// The first problem with `o` as a sentence for the user, or the empty text when `o` can be
// synthesised.
std::string SynthOptionsError(const SynthOptions& o);

// The sample index where the fault's reflection leaves the baseline (also where the cursor
// is put), or -1 when there is no fault.
int SynthFaultSample(const SynthOptions& o);

// Builds the waveform. Options that SynthOptionsError refuses are pulled into range first,
// so the result is always a well-formed trace.
TraceData Synthesize(const SynthOptions& o);

} // namespace r470
