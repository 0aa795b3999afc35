// Families of generated lossy cables with what the analysis should find on each: every
// reflection's onset by the tangent method on its own noise-free pulse, its sampled peak
// and its side, so that a test can score what the analysis reports.
#pragma once

#include "waveform/synth_line.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace r470::test {

// Pulse widths and sample intervals of short and long ranges.
struct RangeSetting {
    double pulseNs;
    double intervalNs;
};
inline constexpr RangeSetting kRangeSettings[] = {
    {5, 0.5}, {10, 0.5}, {10, 1}, {20, 2}, {100, 10}, {200, 20}, {500, 50}, {1000, 100},
};

struct ReflectionTruth {
    double onsetNs; // tangent onset of the pulse alone, on the time axis
    double peak;    // largest size of the noise-free pulse at the sample times
    int sign;       // +1 open-like
    double firstNs; // where the pulse stands above a tenth of its peak
    double lastNs;
};

inline double SkinSpreadNs(const LineModel& m, double atNs) {
    double a = m.lossDbPerUs * atNs / 1000 / 8.685889638 / std::sqrt(3.14159265358979 * 0.1);
    return a * a;
}

inline ReflectionTruth TruthOf(const LineModel& m, std::size_t k) {
    const double t0 = m.launchStartNs + m.reflections[k].atNs;
    const double step = m.intervalNs / 10;
    const double span = std::min(3 * m.pulseWidthNs + 40 * SkinSpreadNs(m, m.reflections[k].atNs) +
                                     10 * m.intervalNs,
                                 (m.samples - 1) * m.intervalNs - t0);
    ReflectionTruth t{};
    t.sign = m.reflections[k].coefficient > 0 ? 1 : -1;
    // A launch stored upwards turns every reflection over with it.
    const int sense = t.sign * (m.launchCounts < 0 ? -1 : 1);
    std::vector<double> f;
    for (double x = t0; x <= t0 + span; x += step)
        f.push_back(ReflectedPulse(m, k, x) * sense);
    double best = -1;
    std::size_t steepest = 1, top = 0;
    for (std::size_t i = 1; i + 1 < f.size(); ++i) {
        if (f[i] > f[top])
            top = i;
        double slope = (f[i + 1] - f[i - 1]) / (2 * step);
        if (i <= top && slope > best) {
            best = slope;
            steepest = i;
        }
    }
    t.onsetNs = t0 + steepest * step - f[steepest] / best;
    for (int i = 0; i < m.samples; ++i)
        t.peak = std::max(t.peak, std::abs(ReflectedPulse(m, k, i * m.intervalNs)));
    std::size_t a = 0, b = f.size() - 1;
    while (a < top && f[a] < 0.1 * f[top])
        ++a;
    while (b > top && f[b] < 0.1 * f[top])
        --b;
    t.firstNs = t0 + a * step;
    t.lastNs = t0 + b * step;
    return t;
}

// A cable of the range `r`: noise 0.4 to 3 counts, a baseline anywhere between two counts,
// a loss of 10 to 80 dB at 100 MHz over the record, up to three partial faults of either
// side and an open, shorted or matched end, far enough apart to tell.
inline LineModel RandomCable(std::mt19937& rng, RangeSetting r) {
    auto u = [&rng](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(rng);
    };
    LineModel m;
    m.samples = 2048;
    m.intervalNs = r.intervalNs;
    m.pulseWidthNs = r.pulseNs;
    m.launchCounts = u(60, 110);
    m.baseline = u(126.5, 129.5);
    m.noise = u(0.4, 3);
    m.launchStartNs = u(0, 3) * r.intervalNs;
    m.seed = static_cast<unsigned>(rng());
    const double span = m.samples * m.intervalNs;
    m.lossDbPerUs = u(10, 80) / (span / 1000);
    const int partial = static_cast<int>(rng() % 4);
    const int end = static_cast<int>(rng() % 3); // open, short, matched
    double at = 8 * r.pulseNs + u(10, 200) * r.intervalNs;
    auto gapAfter = [&](double t) {
        return 4 * r.pulseNs + 8 * SkinSpreadNs(m, t) + 20 * r.intervalNs;
    };
    for (int i = 0; i < partial + (end < 2 ? 1 : 0); ++i) {
        if (at > 0.85 * span)
            break;
        bool isEnd = end < 2 && i == partial;
        double c = isEnd ? (end == 0 ? 0.9 : -0.9) : u(0.03, 0.4) * (rng() % 2 ? 1 : -1);
        m.reflections.push_back({at, c});
        at += gapAfter(at) + u(0, 0.3) * span;
    }
    return m;
}

inline TraceData TraceOf(const LineModel& m) {
    TraceData d;
    d.header.FileVersion = kFileVersion;
    int ps = static_cast<int>(std::lround(m.intervalNs * 1000));
    d.header.SampleIntLo = static_cast<std::uint16_t>(ps % 65535);
    d.header.SampleIntHi = static_cast<std::uint8_t>(ps / 65535);
    d.header.SampleCount = static_cast<std::uint16_t>(m.samples);
    d.header.PulseWidth = static_cast<std::uint16_t>(m.pulseWidthNs);
    d.header.MaxSample = 255;
    d.header.Diel = d.header.InstDiel = 660;
    d.header.DispGain = 1;
    FillLineSamples(m, d.samples);
    return d;
}

} // namespace r470::test
