#include "analysis/trace_events.h"

#include "analysis/pulse_detect.h"
#include "analysis/return_loss_window.h"
#include "waveform/units.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

// What of the launch's own tail is taken for it: lobes that follow within `gap` samples and
// are no larger than its undershoot (against the launch's sense) and its ringing (with it,
// smaller than the undershoot it follows) can be, as shares of the launch's height.
constexpr double kUndershootShare = 0.15;
constexpr double kRingingShare = 0.075;

struct LaunchTail {
    int gap = 0;
};

LaunchTail LaunchTailOf(int smoothHalf, int fullWidth) {
    return {std::max(2 * fullWidth, 2 * (2 * smoothHalf + 1))};
}

// One look at the record against a baseline: the launch lobe, where its tail ends, and the
// reflections, lobes of one side close together taken as one.
struct Pass {
    std::vector<double> s;  // samples less the baseline
    std::vector<double> sm; // and smoothed
    double baseline = 0;    // at the launch
    bool hasLaunch = false;
    Lobe launch;
    int launchEnd = 0;
    std::vector<Lobe> events;
    std::vector<Lobe> nearEvents; // lobes after the launch that come close to counting
};

Pass Examine(std::span<const double> samples, const std::vector<double>& base, int launchPeak,
             int smoothHalf, double noise, const LaunchTail& tail,
             std::optional<Thresholds>& measured) {
    Pass p;
    p.s.resize(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        p.s[i] = samples[i] - base[i];
    p.baseline = base[static_cast<std::size_t>(launchPeak)];
    p.sm = Smooth(p.s, smoothHalf);
    // The noise of the smoothed record is measured on the first pass only: the later
    // baselines differ from it by slow changes that a running mean passes unchanged.
    if (!measured)
        measured = ThresholdsFor(p.sm, smoothHalf, noise);
    const Thresholds& th = *measured;
    std::vector<Lobe> lobes = FindLobes(p.sm, 0, th.low);
    auto launch = std::find_if(lobes.begin(), lobes.end(), [&](const Lobe& l) {
        return l.first <= launchPeak && launchPeak <= l.last;
    });
    if (launch == lobes.end() || launch->height < th.high)
        return p;
    p.hasLaunch = true;
    p.launch = *launch;
    p.launchEnd = launch->last;
    auto next = launch + 1;
    while (next != lobes.end() && next->first - p.launchEnd <= tail.gap &&
           next->height <=
               (next->sign == launch->sign ? kRingingShare : kUndershootShare) * launch->height) {
        p.launchEnd = next->last;
        ++next;
    }
    for (auto l = next; l != lobes.end(); ++l)
        if (l->height >= 0.75 * th.high)
            p.nearEvents.push_back(*l);
    for (; next != lobes.end(); ++next) {
        const Lobe& l = *next;
        if (!p.events.empty() && l.sign == p.events.back().sign &&
            l.first - p.events.back().last <= tail.gap) {
            Lobe& m = p.events.back();
            m.last = l.last;
            if (l.height > m.height) {
                m.height = l.height;
                m.peak = l.peak;
            }
            continue;
        }
        if (l.height < th.high)
            continue;
        p.events.push_back(l);
    }
    return p;
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

    // The launch: the first excursion of at least half the largest one, well above the noise,
    // from one level for the whole record (a drift is far smaller than a launch).
    const double level = QuietLevel(samples, a.noise);
    double largest = 0;
    for (double v : samples)
        largest = std::max(largest, std::abs(v - level));
    int launchPeak = -1;
    for (int i = 0; i < n; ++i) {
        const double v = samples[i] - level;
        if (std::abs(v) >= 0.5 * largest && std::abs(v) > 6 * a.noise) {
            launchPeak = i;
            while (launchPeak + 1 < n && (samples[launchPeak + 1] - level) * v > 0 &&
                   std::abs(samples[launchPeak + 1] - level) >=
                       std::abs(samples[launchPeak] - level))
                ++launchPeak;
            break;
        }
    }
    if (launchPeak < 0) {
        a.baseline = level;
        return a;
    }
    std::vector<double> centred(samples.begin(), samples.end());
    for (double& v : centred)
        v -= level;
    const int fullWidth = LaunchWidth(centred, launchPeak);
    a.smoothHalf = fullWidth / 4;

    // The baseline followed where the trace is quiet: first round everything but the launch
    // and its tail, then round the reflections found on the pass before as well.
    const LaunchTail tail = LaunchTailOf(a.smoothHalf, fullWidth);
    std::vector<char> masked(samples.size(), 0);
    int maskEnd = std::min(n - 1, launchPeak + 3 * fullWidth);
    std::fill(masked.begin(), masked.begin() + maskEnd + 1, 1);
    Pass p;
    std::vector<char> lastMasked;
    std::optional<Thresholds> th;
    for (int pass = 0; pass < 3; ++pass) {
        const int reach = pass == 0 ? std::max(n / 16, 8 * fullWidth) : std::max(64, 6 * fullWidth);
        // The same stretches masked at the same reach as the pass before: the same trend,
        // so the same result.
        if (pass >= 2 && masked == lastMasked)
            break;
        lastMasked = masked;
        p = Examine(samples, QuietTrend(samples, masked, reach), launchPeak, a.smoothHalf, a.noise,
                    tail, th);
        if (!p.hasLaunch)
            break;
        std::fill(masked.begin(), masked.end(), 0);
        maskEnd = std::min(
            n - 1, std::max(maskEnd, std::max(p.launch.last + tail.gap, p.launchEnd) + fullWidth));
        std::fill(masked.begin(), masked.begin() + maskEnd + 1, 1);
        // Lobes just short of counting as well: a trend drawn through them would lower them.
        for (const Lobe& l : p.nearEvents) {
            const int from = std::max(0, l.first - fullWidth);
            const int to = std::min(
                n - 1, l.last + std::clamp(l.last - l.first + 1, fullWidth, 4 * fullWidth));
            std::fill(masked.begin() + from, masked.begin() + to + 1, 1);
        }
    }
    a.baseline = p.baseline;
    if (!p.hasLaunch)
        return a;

    const std::vector<double>& s = p.s;
    const std::vector<double>& sm = p.sm;
    const Lobe& launch = p.launch;
    a.hasLaunch = true;
    a.launchAmplitude = PeakAmplitude(s, launch);
    a.launchPeakNs = launch.peak * nsPerSample;
    a.launchOnsetNs =
        TangentOnset(s, 0, launch.first, EdgeTop(sm, launch), launch.sign, a.smoothHalf) *
        nsPerSample;
    a.launchEndNs = (p.launchEnd + 1) * nsPerSample;

    // A reflection this close to the launch has hardly spread: its edge is as long as the
    // launch's.
    const int edgeSpan = EdgeTop(sm, launch) - launch.first + a.smoothHalf + 1;
    int previousLast = p.launchEnd;
    const int n1 = static_cast<int>(sm.size()) - 1;
    for (const Lobe& l : p.events) {
        TraceEvent e;
        const int top = EdgeTop(sm, l);
        double onset = 0;
        double under = 0; // what the launch's tail adds at the peak
        if (l.first - p.launchEnd <= tail.gap) {
            // Rising out of the launch's undershoot or ringing: from the foot of its own edge,
            // at the level the tail leaves there; the tail under the peak runs straight from
            // there to where it is again after the reflection.
            const int foot = EdgeFoot(sm, launch.last + 1, top, l.sign, edgeSpan);
            onset = TangentOnset(s, foot, foot, top, l.sign, a.smoothHalf, sm[foot]);
            const int after = std::min(n1, l.last + edgeSpan);
            under = sm[foot] + (sm[after] - sm[foot]) * (l.peak - foot) / std::max(1, after - foot);
        } else {
            onset = TangentOnset(s, previousLast + 1, l.first, top, l.sign, a.smoothHalf);
        }
        previousLast = l.last;
        e.onsetNs = onset * nsPerSample;
        e.peakNs = l.peak * nsPerSample;
        e.up = l.sign == launch.sign;
        e.amplitude = PeakAmplitude(s, l) - under;
        e.reflection = a.launchAmplitude != 0 ? e.amplitude / a.launchAmplitude : 0;
        e.returnLossDb = e.reflection != 0 ? -20 * std::log10(std::abs(e.reflection)) : 0;
        a.events.push_back(e);
    }
    a.largest = LargestEvent(a.events);
    return a;
}

TraceAnalysis AnalyseTrace(const TraceData& trace) {
    TraceSlot slot;
    // The header and samples are all a measurement reads; the notes would only be copied.
    slot.data.header = trace.header;
    slot.data.samples = trace.samples;
    slot.NsPerSample = SampleIntervalNs(trace.header);
    std::vector<double> x = RecordSamples(trace);
    TraceAnalysis a = AnalyseSamples(x, slot.NsPerSample);
    // The figure "dBRL" shows with the cursors where "Find fault" puts them.
    for (TraceEvent& e : a.events)
        e.returnLossDb = MeasureReturnLoss(slot, LaunchCursorNs(a), e.onsetNs).dB;
    return a;
}

double LaunchCursorNs(const TraceAnalysis& a) {
    return std::max(0.0, a.launchOnsetNs);
}

double DistanceFromLaunch(const TraceAnalysis& a, double timeNs, int diel, int units) {
    return NsToAxisUnits(diel, units, timeNs - a.launchOnsetNs);
}

} // namespace r470
