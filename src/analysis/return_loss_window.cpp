#include "analysis/return_loss_window.h"

#include "waveform/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace r470 {

namespace {

constexpr int kOutOfRangeRefusal = 137;

// The sample a cursor time stands on: nearest, at least 1. Times far past any waveform
// stay past it instead of wrapping round as an int.
long SampleAt(double t, double nsPerSample) {
    if (!(nsPerSample > 0))
        return 1; // every sample of such a waveform sits at time 0
    double q = std::nearbyint(t / nsPerSample);
    return q < 1 ? 1 : q > 1e9 ? 1000000000L : static_cast<long>(q);
}

int Sample(const TraceSlot& s, long k) {
    return s.data.samples[static_cast<std::size_t>(k - 1)];
}

// Largest deviation from the window's first sample, over `w` samples after it, cut at
// the last sample.
int Amplitude(const TraceSlot& s, long first, long w) {
    long last = std::min<long>(first + w, s.data.header.SampleCount);
    int a = Sample(s, first);
    int best = 0;
    for (long k = first; k <= last; ++k)
        best = std::max(best, std::abs(Sample(s, k) - a));
    return best;
}

} // namespace

std::string TwoDecimals(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    return std::string(buf, res.ptr);
}

ReturnLoss MeasureReturnLoss(const TraceSlot& slot, double c1, double c2) {
    ReturnLoss out;
    double tp = c2 > c1 ? c1 : c2;
    double tr = c2 > c1 ? c2 : c1;
    const double d = slot.NsPerSample;
    const long count = std::min<long>(slot.data.header.SampleCount, kMaxSamples);
    long p = SampleAt(tp, d);
    long r = SampleAt(tr, d);
    // The window's cursors never go below zero; a typed time before the first sample must
    // not quietly measure at the first one.
    if (tp < 0 || p > count || r > count) {
        out.refusal = kOutOfRangeRefusal;
        return out;
    }
    // Three pulse widths in samples; a waveform without an interval has one window sample.
    long w = 0;
    if (d > 0)
        w = std::clamp<long>(Nearest(3.0 * slot.data.header.PulseWidth / d), 0, count);
    out.pulse = Amplitude(slot, p, w);
    out.reflection = Amplitude(slot, r, w);
    out.ratio = out.pulse != 0 ? static_cast<double>(out.reflection) / out.pulse : 0;
    out.dB = out.ratio != 0 ? 20 * std::log10(1 / out.ratio) : 0;
    out.ratioText = TwoDecimals(out.ratio);
    out.dBText = TwoDecimals(out.dB);
    return out;
}

} // namespace r470
