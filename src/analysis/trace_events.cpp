#include "analysis/trace_events.h"

#include "analysis/pulse_detect.h"
#include "waveform/units.h"

#include <algorithm>
#include <cmath>

namespace r470 {

namespace {

// Peak deviation: the extreme of a running mean over an eighth of the excursion, so that
// noise does not make a broad hump look larger than it is.
double PeakAmplitude(std::span<const double> raw, const Lobe& lobe) {
    const int half = std::max(1, (lobe.last - lobe.first + 1) / 16);
    std::vector<double> sm =
        Smooth(raw.subspan(static_cast<std::size_t>(lobe.first),
                           static_cast<std::size_t>(lobe.last - lobe.first + 1)),
               half);
    double best = 0;
    for (double v : sm)
        best = std::max(best, v * lobe.sign);
    return best * lobe.sign;
}

// The width at half height of the launch, in samples, from the raw samples.
int LaunchWidth(std::span<const double> raw, int peak) {
    const int n = static_cast<int>(raw.size());
    const double half = raw[peak] / 2;
    int a = peak, b = peak;
    while (a > 0 && raw[a - 1] * half >= half * half)
        --a;
    while (b < n - 1 && raw[b + 1] * half >= half * half)
        ++b;
    return b - a + 1;
}

} // namespace

std::vector<double> RecordSamples(const TraceData& trace) {
    const std::size_t count = std::min<std::size_t>(trace.header.SampleCount, trace.samples.size());
    return std::vector<double>(trace.samples.begin(),
                               trace.samples.begin() + static_cast<std::ptrdiff_t>(count));
}

int LargestEvent(const std::vector<TraceEvent>& events) {
    int best = -1;
    for (std::size_t i = 0; i < events.size(); ++i)
        if (best < 0 || std::abs(events[i].amplitude) > std::abs(events[best].amplitude))
            best = static_cast<int>(i);
    return best;
}

TraceAnalysis AnalyseSamples(std::span<const double> samples, double nsPerSample) {
    TraceAnalysis a;
    a.nsPerSample = nsPerSample;
    const int n = static_cast<int>(samples.size());
    if (n < 8 || !(nsPerSample > 0))
        return a;
    a.noise = NoiseFromSteps(samples);
    a.baseline = QuietLevel(samples, a.noise);
    std::vector<double> s(samples.begin(), samples.end());
    for (double& v : s)
        v -= a.baseline;

    // The launch: the first excursion of at least half the largest one, well above the noise.
    double largest = 0;
    for (double v : s)
        largest = std::max(largest, std::abs(v));
    int launchPeak = -1;
    for (int i = 0; i < n; ++i) {
        if (std::abs(s[i]) >= 0.5 * largest && std::abs(s[i]) > 6 * a.noise) {
            launchPeak = i;
            while (launchPeak + 1 < n && s[launchPeak + 1] * s[i] > 0 &&
                   std::abs(s[launchPeak + 1]) >= std::abs(s[launchPeak]))
                ++launchPeak;
            break;
        }
    }
    if (launchPeak < 0)
        return a;
    const int fullWidth = LaunchWidth(s, launchPeak);
    a.smoothHalf = fullWidth / 4;
    const std::vector<double> sm = Smooth(s, a.smoothHalf);
    const Thresholds th = ThresholdsFor(sm, a.smoothHalf, a.noise);
    std::vector<Lobe> lobes = FindLobes(sm, 0, th.low);

    // The launch lobe, and the lobes that follow it closely (its undershoot and ringing).
    auto launchLobe = std::find_if(lobes.begin(), lobes.end(), [&](const Lobe& l) {
        return l.first <= launchPeak && launchPeak <= l.last;
    });
    if (launchLobe == lobes.end() || launchLobe->height < th.high)
        return a;
    const int gap = std::max(2 * fullWidth, 2 * (2 * a.smoothHalf + 1));
    a.hasLaunch = true;
    a.launchAmplitude = PeakAmplitude(s, *launchLobe);
    a.launchPeakNs = launchLobe->peak * nsPerSample;
    a.launchOnsetNs = TangentOnset(s, 0, launchLobe->first, EdgeTop(sm, *launchLobe),
                                   launchLobe->sign, a.smoothHalf) *
                      nsPerSample;
    int launchEnd = launchLobe->last;
    auto next = launchLobe + 1;
    while (next != lobes.end() && next->first - launchEnd <= gap) {
        launchEnd = next->last;
        ++next;
    }
    a.launchEndNs = (launchEnd + 1) * nsPerSample;

    // Events: lobes that pass the high threshold; lobes of one side close together are one
    // reflection (a spread pulse whose top is split by noise or by the cable).
    const int launchSign = launchLobe->sign;
    int previousLast = launchEnd;
    std::vector<Lobe> merged;
    for (; next != lobes.end(); ++next) {
        const Lobe& l = *next;
        if (!merged.empty() && l.sign == merged.back().sign &&
            l.first - merged.back().last <= gap) {
            Lobe& m = merged.back();
            m.last = l.last;
            if (l.height > m.height) {
                m.height = l.height;
                m.peak = l.peak;
            }
            continue;
        }
        if (l.height < th.high)
            continue;
        merged.push_back(l);
    }
    for (const Lobe& l : merged) {
        TraceEvent e;
        double onset =
            TangentOnset(s, previousLast + 1, l.first, EdgeTop(sm, l), l.sign, a.smoothHalf);
        previousLast = l.last;
        e.onsetNs = onset * nsPerSample;
        e.peakNs = l.peak * nsPerSample;
        e.up = l.sign == launchSign;
        e.amplitude = PeakAmplitude(s, l);
        e.reflection = a.launchAmplitude != 0 ? e.amplitude / a.launchAmplitude : 0;
        e.returnLossDb = e.reflection != 0 ? -20 * std::log10(std::abs(e.reflection)) : 0;
        a.events.push_back(e);
    }
    a.largest = LargestEvent(a.events);
    return a;
}

TraceAnalysis AnalyseTrace(const TraceData& trace) {
    std::vector<double> x = RecordSamples(trace);
    return AnalyseSamples(x, SampleIntervalNs(trace.header));
}

double DistanceFromLaunch(const TraceAnalysis& a, double timeNs, int diel, int units) {
    return NsToAxisUnits(diel, units, timeNs - a.launchOnsetNs);
}

} // namespace r470
