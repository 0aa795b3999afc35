#include "waveform/synth_line.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace r470 {

namespace {

// The skin effect's response to a ramp of unit slope starting at 0: the closed form of the
// integral of erfc(a / (2 sqrt t)), the cable's response to a step. `a` grows with distance.
double RampResponse(double a, double t) {
    if (t <= 0)
        return 0;
    if (a <= 0)
        return t;
    double r = a / (2 * std::sqrt(t));
    return (t + a * a / 2) * std::erfc(r) - a * std::sqrt(t / std::numbers::pi) * std::exp(-r * r);
}

// The launch's trapezoid (unit height) as the cable returns it from `a`.
double Trapezoid(const LineModel& m, double a, double t) {
    const double pw = m.pulseWidthNs, rise = LineRiseNs(m), fall = LineFallNs(m);
    return (RampResponse(a, t) - RampResponse(a, t - rise)) / rise -
           (RampResponse(a, t - pw) - RampResponse(a, t - pw - fall)) / fall;
}

// The skin effect's `a` (square root of ns) after `tNs` of two-way travel: the loss at
// 100 MHz is a sqrt(pi f) nepers.
double SkinA(const LineModel& m, double tNs) {
    double lossDb = m.lossDbPerUs * tNs / 1000;
    return lossDb / (20 / std::numbers::ln10) / std::sqrt(std::numbers::pi * 0.1);
}

// A dip after the launch, as the instrument's coupling leaves it: a third of the way in it
// is deepest, and it dies away smoothly.
double Undershoot(const LineModel& m, double t) {
    double len = 3 * m.pulseWidthNs + LineFallNs(m);
    double x = (t - m.launchStartNs - m.pulseWidthNs - LineFallNs(m)) / len;
    if (x <= 0 || x >= 1)
        return 0;
    return 0.08 * m.launchCounts * 6.75 * x * (1 - x) * (1 - x);
}

// splitmix64: small, fast and the same everywhere.
class Noise {
  public:
    explicit Noise(unsigned seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    double Gaussian() {
        if (spare_) {
            spare_ = false;
            return next_;
        }
        double u = (Next() + 1.0) / 18446744073709551616.0, v = Next() / 18446744073709551616.0;
        double r = std::sqrt(-2 * std::log(u));
        next_ = r * std::sin(2 * std::numbers::pi * v);
        spare_ = true;
        return r * std::cos(2 * std::numbers::pi * v);
    }

  private:
    double Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>(z ^ (z >> 31));
    }
    std::uint64_t state_;
    bool spare_ = false;
    double next_ = 0;
};

} // namespace

double LineRiseNs(const LineModel& m) {
    return std::max(1.0, m.pulseWidthNs / 10);
}

double LineFallNs(const LineModel& m) {
    return std::max(2.0, m.pulseWidthNs / 5);
}

double LaunchedPulse(const LineModel& m, double t) {
    return m.launchCounts * Trapezoid(m, 0, t - m.launchStartNs) - Undershoot(m, t);
}

double ReflectedPulse(const LineModel& m, std::size_t k, double t) {
    const LineReflection& r = m.reflections.at(k);
    double through = 1;
    for (std::size_t j = 0; j < k; ++j)
        through *= 1 - m.reflections[j].coefficient * m.reflections[j].coefficient;
    return m.launchCounts * r.coefficient * through *
           Trapezoid(m, SkinA(m, r.atNs), t - m.launchStartNs - r.atNs);
}

double BaselineDrift(const LineModel& m, double t) {
    const double span = std::max(1, m.samples - 1) * m.intervalNs;
    const double x = std::clamp(t / span, 0.0, 1.0);
    switch (m.driftShape) {
    case DriftShape::Recovery: // most of it soon after the launch, a quarter record's time
        return m.driftCounts * (1 - std::exp(-4 * x)) / (1 - std::exp(-4.0));
    case DriftShape::Step: // an eighth of the record wide
        return m.driftCounts * (std::tanh((x - 0.5) * 16) / std::tanh(8.0) + 1) / 2;
    case DriftShape::Steady:
        break;
    }
    return m.driftCounts * x;
}

void FillLineSamples(const LineModel& m, TraceSamples& out) {
    Noise noise(m.seed);
    const int count = std::clamp(m.samples, 0, static_cast<int>(out.size()));
    for (int i = 0; i < count; ++i) {
        double t = i * m.intervalNs;
        double v = LaunchedPulse(m, t);
        for (std::size_t k = 0; k < m.reflections.size(); ++k)
            v += ReflectedPulse(m, k, t);
        double sample =
            std::nearbyint(m.baseline + BaselineDrift(m, t) - v + m.noise * noise.Gaussian());
        out[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::clamp(sample, 0.0, 255.0));
    }
}

} // namespace r470
