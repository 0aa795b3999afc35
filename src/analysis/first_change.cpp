#include "analysis/first_change.h"

#include "analysis/pulse_detect.h"
#include "common/numbers.h"
#include "waveform/interpolate.h"

#include <algorithm>
#include <cmath>

namespace r470 {

namespace {

TraceSlot AsSlot(const TraceData& data) {
    TraceSlot slot;
    // The header and samples are all the comparison reads; the notes would only be copied.
    slot.data.header = data.header;
    slot.data.samples = data.samples;
    slot.NsPerSample = SampleIntervalNs(data.header);
    return slot;
}

// `other` on the grid of `grid` samples `step` ns apart, up to the end of `other`.
// InterpolatedSample counts sample i at i x interval, one interval later than the time axis.
std::vector<double> Resampled(const TraceSlot& other, double step, int grid) {
    if (step == other.NsPerSample) {
        // On its own grid: its samples as they are.
        std::vector<double> out = RecordSamples(other.data);
        out.resize(std::min(out.size(), static_cast<std::size_t>(std::max(grid, 0))));
        return out;
    }
    const double end = (other.data.header.SampleCount - 1) * other.NsPerSample;
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(std::max(grid, 0)));
    for (int i = 0; i < grid && i * step <= end + 1e-9; ++i)
        out.push_back(InterpolatedSample(other, i * step + other.NsPerSample));
    return out;
}

} // namespace

FirstChange CompareWithReference(const TraceData& waveData, const TraceData& refData) {
    FirstChange c;
    const TraceSlot wave = AsSlot(waveData), ref = AsSlot(refData);
    const double dw = wave.NsPerSample, dr = ref.NsPerSample;
    if (!(dw > 0) || !(dr > 0)) {
        c.problem = "a sample interval of 0 cannot be compared";
        return c;
    }
    c.wave = AnalyseTrace(waveData);
    if (!c.wave.hasLaunch) {
        c.problem = "the waveform shows no launched pulse to measure from";
        return c;
    }
    // The finer grid carries the difference; the other record is resampled onto it.
    const bool onWave = dw <= dr;
    const double step = onWave ? dw : dr;
    const double coarse = onWave ? dr : dw;
    const double ratio = coarse / step;
    // The smoothing spans at least two samples of the coarser record, so the noise that
    // interpolation spreads over neighbouring points is measured, not hidden.
    const int half = std::max(static_cast<int>(std::lround(c.wave.smoothHalf * dw / step)),
                              ratio > 1 ? static_cast<int>(std::ceil(ratio)) : 0);
    const double pulseNs = (4 * c.wave.smoothHalf + 2) * dw;
    if (coarse > pulseNs) {
        c.problem = "the sample intervals " + ShortestText(dw) + " ns and " + ShortestText(dr) +
                    " ns are too far apart: the coarser one cannot follow a pulse of about " +
                    ShortestText(std::round(pulseNs * 10) / 10) + " ns";
        return c;
    }
    std::vector<double> a =
        onWave ? RecordSamples(waveData) : Resampled(wave, step, ref.data.header.SampleCount);
    std::vector<double> b =
        onWave ? Resampled(ref, step, wave.data.header.SampleCount) : RecordSamples(refData);
    const std::size_t n = std::min(a.size(), b.size());
    const int from = static_cast<int>(std::ceil(c.wave.launchEndNs / step - 1e-9));
    if (static_cast<int>(n) <= from + 2) {
        c.problem = "the reference ends before the launch has ended";
        return c;
    }
    std::vector<double> d(n);
    for (std::size_t i = 0; i < n; ++i)
        d[i] = a[i] - b[i];
    c.noise = NoiseFromSteps(d);
    const double level = QuietLevel(d, c.noise);
    for (double& v : d)
        v -= level;
    const std::vector<double> sm = Smooth(d, half);
    const Thresholds th = ThresholdsFor(sm, half, c.noise);
    for (const Lobe& l : FindLobes(sm, from, th.low)) {
        if (l.height < th.high)
            continue;
        c.found = true;
        c.onsetNs = TangentOnset(d, from, l.first, EdgeTop(sm, l), l.sign, half) * step;
        break;
    }
    return c;
}

} // namespace r470
