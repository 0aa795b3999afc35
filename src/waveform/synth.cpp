#include "waveform/synth.h"

#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace r470 {
namespace {

// Only +, -, * and / below (no exp, cos or pow from the maths library, whose last bits may
// differ between library versions), so the committed sample files can be remade exactly.

// xorshift64* seeded through splitmix64: tiny, fast and identical everywhere.
class Rng {
  public:
    explicit Rng(unsigned seed) {
        std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        state_ = z ^ (z >> 31);
        if (state_ == 0)
            state_ = 1;
    }
    std::uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    // -2..2, most often 0: the converter's noise seen on a quiet cable.
    int Noise() { return static_cast<int>(Next() % 3) + static_cast<int>(Next() % 3) - 2; }

  private:
    std::uint64_t state_;
};

constexpr int kMaxSample = 255;
constexpr double kBaseline = (kMaxSample + 1) / 2;
constexpr double kLaunchHeightAtGain3 = 90; // counts above the baseline
constexpr double kLaunchRiseNs = 1.0;
constexpr double kLaunchFallNs = 2.0;
constexpr double kUndershoot = 0.08; // of the launch height, after the launch pulse
constexpr double kLossHalfNs = 600;  // two-way time at which a reflection has lost half
constexpr double kOpenCoefficient = 0.9;
// Dispersion: every nanosecond of travel slows the edges and stretches the pulse.
constexpr double kRisePerNs = 0.010;
constexpr double kWidthPerNs = 0.005;
constexpr double kFallPerNs = 0.015;
constexpr double kLightMPerNs = 0.299792458;
constexpr double kFeetPerM = 1 / 0.3048;

// 0 before, 1 after, a smooth S between.
double Edge(double x) {
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    return x * x * (3 - 2 * x);
}

// A pulse that rises over `rise`, leaves its top `width` after the start and falls over
// `fall`; a pulse narrower than its rise never reaches full height, as on a real cable.
double Pulse(double t, double start, double rise, double width, double fall) {
    return Edge((t - start) / rise) - Edge((t - start - width) / fall);
}

// A single dip that peaks a third of the way in and dies away smoothly.
double Bump(double x) {
    if (x <= 0 || x >= 1)
        return 0;
    return 6.75 * x * (1 - x) * (1 - x);
}

double IntervalNs(int ps) {
    return ps / 1000.0;
}

double DurationNs(const SynthOptions& o) {
    return o.samples * IntervalNs(o.intervalPs);
}

SynthOptions InRange(const SynthOptions& in) {
    SynthOptions o = in;
    o.samples = std::clamp(o.samples, 0, static_cast<int>(kMaxSamples));
    o.intervalPs = std::clamp(o.intervalPs, 1, kSynthMaxIntervalPs);
    o.diel = std::clamp(o.diel, kSynthMinDiel, kSynthMaxDiel);
    o.gain = std::clamp(o.gain, 0, 65535);
    o.pulseWidthNs = std::clamp(o.pulseWidthNs, 0, 65535);
    o.memNo = std::clamp(o.memNo, 1, kSynthMaxMemNo);
    double end = DurationNs(o);
    if (!(o.faultAtNs >= 0))
        o.faultAtNs = 0;
    if (o.faultAtNs >= end)
        o.faultAtNs = end > 0 ? end - IntervalNs(o.intervalPs) : 0;
    o.cableId = o.cableId.substr(0, o.cableId.find('\0')).substr(0, kCableIdLen);
    return o;
}

// Launch height in counts: each gain step is half as much again, and very high gains
// simply drive the launch pulse into the top of the scale.
double LaunchHeight(int gain) {
    double h = kLaunchHeightAtGain3;
    for (int g = 3; g < std::min(gain, 24); ++g)
        h *= 1.5;
    for (int g = gain; g < 3; ++g)
        h /= 1.5;
    return h;
}

std::string OneDecimal(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

std::string TwoDigits(int v) {
    return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10);
}

std::string Padded(const std::string& text, std::size_t width) {
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

void FillSamples(const SynthOptions& o, TraceSamples& out) {
    Rng rng(o.seed);
    const double dt = IntervalNs(o.intervalPs);
    const double height = LaunchHeight(o.gain);
    const double pw = o.pulseWidthNs;
    const double launchEnd = pw + kLaunchFallNs;

    double coefficient = 0;
    if (o.fault == SynthOptions::Open)
        coefficient = kOpenCoefficient;
    else if (o.fault == SynthOptions::Short)
        coefficient = -kOpenCoefficient;
    const double tf = o.faultAtNs;
    const double reflHeight = coefficient * height / (1 + tf / kLossHalfNs);
    const double reflRise = kLaunchRiseNs + tf * kRisePerNs;
    const double reflWidth = pw + tf * kWidthPerNs;
    const double reflFall = kLaunchFallNs + tf * kFallPerNs;

    for (int i = 0; i < o.samples; ++i) {
        double t = i * dt;
        double v = kBaseline;
        v += height * Pulse(t, 0, kLaunchRiseNs, pw, kLaunchFallNs);
        v -= kUndershoot * height * Bump((t - launchEnd) / (3 * pw + kLaunchFallNs));
        if (coefficient != 0)
            v += reflHeight * Pulse(t, tf, reflRise, reflWidth, reflFall);
        // The display draws larger samples lower, so "up" on the screen is below mid-scale.
        v = std::nearbyint(2 * kBaseline - v) + rng.Noise();
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
}

// The same cable as a lossy line: the fault is its far end, the reflections lie before it.
LineModel LineModelFor(const SynthOptions& o) {
    LineModel m;
    m.samples = o.samples;
    m.intervalNs = IntervalNs(o.intervalPs);
    m.pulseWidthNs = o.pulseWidthNs;
    m.launchCounts = std::min(LaunchHeight(o.gain), kBaseline);
    m.lossDbPerUs = o.lossDbPerUs;
    m.noise = o.noise >= 0 ? o.noise : 0.5;
    m.seed = o.seed;
    m.reflections = o.reflections;
    if (o.fault != SynthOptions::None)
        m.reflections.push_back(
            {o.faultAtNs, o.fault == SynthOptions::Open ? kOpenCoefficient : -kOpenCoefficient});
    std::stable_sort(
        m.reflections.begin(), m.reflections.end(),
        [](const LineReflection& a, const LineReflection& b) { return a.atNs < b.atNs; });
    return m;
}

std::string FaultLine(const SynthOptions& o) {
    std::string at = ShortestText(o.faultAtNs) + " ns";
    switch (o.fault) {
    case SynthOptions::Open:
        return "Open circuit at " + at;
    case SynthOptions::Short:
        return "Short circuit at " + at;
    case SynthOptions::None:
        break;
    }
    return "No fault: the far end is matched";
}

double MetresAt(const SynthOptions& o, double twoWayNs) {
    return twoWayNs / 2 * kLightMPerNs * o.diel / 1000; // the fault is half the travel away
}

std::vector<LineReflection> ReflectionsInOrder(const SynthOptions& o) {
    std::vector<LineReflection> r = o.reflections;
    std::stable_sort(r.begin(), r.end(), [](const LineReflection& a, const LineReflection& b) {
        return a.atNs < b.atNs;
    });
    return r;
}

// The reflections of a lossy cable without a fault, on one comment line.
std::string ReflectionsLine(const SynthOptions& o) {
    const std::vector<LineReflection> r = ReflectionsInOrder(o);
    std::string line = r.size() == 1 ? "Reflection at " : "Reflections at ";
    for (std::size_t i = 0; i < r.size(); ++i)
        line += (i ? ", " : "") + ShortestText(r[i].atNs) + " ns (" +
                ShortestText(r[i].coefficient) + ")";
    if (line.size() <= kCommentLen)
        return line;
    return std::to_string(r.size()) + " reflections, at " + ShortestText(r.front().atNs) + " to " +
           ShortestText(r.back().atNs) + " ns";
}

std::string DistanceLine(const SynthOptions& o) {
    if (o.fault == SynthOptions::None)
        return o.reflections.empty() ? "Launch pulse only, no reflection" : ReflectionsLine(o);
    double m = MetresAt(o, o.faultAtNs);
    char pvf[16];
    std::snprintf(pvf, sizeof pvf, "%d.%03d", o.diel / 1000, o.diel % 1000);
    return "About " + OneDecimal(m) + " m (" + OneDecimal(m * kFeetPerM) + " ft) at PVF " + pvf;
}

constexpr const char* kTryIt = "Use it to try the display, the cursors and the transfers.";

// What the lossy cable was made of, each reflection with where it lies (a long list as a
// count, so the note fits its field).
std::string LineModelNote(const SynthOptions& o) {
    constexpr std::size_t kListed = 8;
    auto at = [&](double ns) {
        return ShortestText(ns) + " ns (about " + OneDecimal(MetresAt(o, ns)) + " m)";
    };
    const std::vector<LineReflection> r = ReflectionsInOrder(o);
    std::string note = "Made without an instrument: a launch pulse at 0 ns";
    if (r.size() > kListed) {
        note += "; " + std::to_string(r.size()) + " reflections at " +
                ShortestText(r.front().atNs) + " to " + ShortestText(r.back().atNs) + " ns";
    } else if (!r.empty()) {
        note += r.size() == 1 ? "; a reflection of " : "; reflections of ";
        for (std::size_t i = 0; i < r.size(); ++i)
            note += (i ? ", " : "") + ShortestText(r[i].coefficient) + " at " + at(r[i].atNs);
    }
    switch (o.fault) {
    case SynthOptions::Open:
        note += "; the far end open at " + at(o.faultAtNs);
        break;
    case SynthOptions::Short:
        note += "; the far end shorted at " + at(o.faultAtNs);
        break;
    case SynthOptions::None:
        note += "; the far end matched";
        break;
    }
    note += o.lossDbPerUs > 0 ? "; skin-effect loss of " + ShortestText(o.lossDbPerUs) +
                                    " dB per microsecond at 100 MHz"
                              : "; no cable loss";
    const double noise = o.noise >= 0 ? o.noise : 0.5;
    note += "; Gaussian noise of " + ShortestText(noise) + (noise == 1 ? " count" : " counts");
    return note + ".\r\n" + kTryIt;
}

} // namespace

std::string SynthOptionsError(const SynthOptions& o) {
    if (o.samples < 0 || o.samples > static_cast<int>(kMaxSamples))
        return "The number of samples must be 0 to " + std::to_string(kMaxSamples) + ".";
    if (o.intervalPs < 1 || o.intervalPs > kSynthMaxIntervalPs)
        return "The sample interval must be 1 to " + std::to_string(kSynthMaxIntervalPs) + " ps.";
    if (o.diel < kSynthMinDiel || o.diel > kSynthMaxDiel)
        return "The dielectric must be " + std::to_string(kSynthMinDiel) + " to " +
               std::to_string(kSynthMaxDiel) + ".";
    if (o.gain < 0 || o.gain > 65535)
        return "The gain must be 0 to 65535.";
    if (o.pulseWidthNs < 0 || o.pulseWidthNs > 65535)
        return "The pulse width must be 0 to 65535 ns.";
    if (o.memNo < 1 || o.memNo > kSynthMaxMemNo)
        return "The memory number must be 1 to " + std::to_string(kSynthMaxMemNo) + ".";
    if (o.fault != SynthOptions::None && !(o.faultAtNs >= 0 && o.faultAtNs < DurationNs(o)))
        return "The fault must lie within the trace, at 0 ns or later and before " +
               ShortestText(DurationNs(o)) + " ns.";
    for (const LineReflection& r : o.reflections)
        if (!(r.atNs >= 0 && r.atNs < DurationNs(o)) ||
            !(r.coefficient >= -1 && r.coefficient <= 1))
            return "Each reflection must lie within the trace and have a coefficient of -1 to 1.";
    if (!(o.lossDbPerUs >= 0 && o.lossDbPerUs <= 1000))
        return "The loss must be 0 to 1000 dB per microsecond.";
    if (!(o.noise == -1 || (o.noise >= 0 && o.noise <= 50)))
        return "The noise must be 0 to 50 counts.";
    if (o.cableId.find('\0') != std::string::npos)
        return "The cable ID must not contain a zero byte.";
    if (o.cableId.size() > kCableIdLen)
        return "The cable ID must be at most " + std::to_string(kCableIdLen) + " characters.";
    return {};
}

int SynthFaultSample(const SynthOptions& in) {
    if (in.fault == SynthOptions::None)
        return -1;
    SynthOptions o = InRange(in);
    return static_cast<int>(std::nearbyint(o.faultAtNs * 1000 / o.intervalPs));
}

TraceData Synthesize(const SynthOptions& in) {
    const SynthOptions o = InRange(in);
    TraceData d;
    TraceHeader& h = d.header;
    h.Spare = 0x20;
    h.FileVersion = kFileVersion;
    h.MemMarker = 'M';
    h.MemNo = static_cast<std::uint16_t>(o.memNo);
    h.Gain = static_cast<std::uint16_t>(o.gain);
    h.SampleIntLo = static_cast<std::uint16_t>(o.intervalPs % 65535);
    h.SampleIntHi = static_cast<std::uint8_t>(o.intervalPs / 65535);
    h.SampleCount = static_cast<std::uint16_t>(o.samples);
    h.InstDiel = static_cast<std::uint16_t>(o.diel);
    h.Diel = h.InstDiel;
    h.PulseWidth = static_cast<std::uint16_t>(o.pulseWidthNs);
    h.ModeText = Padded("      Normal", 16);
    // On the fault, or on the launch edge (sample 1) when there is none.
    int faultSample = SynthFaultSample(o);
    int cursor = faultSample < 0 ? 1 : faultSample + 1;
    if (cursor > static_cast<int>(kMaxSamples))
        cursor = 1024;
    h.InstCursor = static_cast<std::uint16_t>(cursor);
    h.Cursor = h.InstCursor;
    h.MaxSample = kMaxSample;
    h.InstCableId = Padded(o.cableId, 10);
    // Each memory a minute later than the one before, as if taken one after the other.
    int minutes = 14 * 60 + 29 + o.memNo;
    std::string hh = TwoDigits(minutes / 60), mm = TwoDigits(minutes % 60);
    h.InstDate = "081226";
    h.InstTime = hh + mm + "00";
    h.Machine1 = "SIMTDR";
    h.Machine2 = "000001";
    h.DispGain = 1;
    h.Filter = 'A';
    h.Impedance = 50;

    if (o.UsesLineModel())
        FillLineSamples(LineModelFor(o), d.samples);
    else
        FillSamples(o, d.samples);

    TraceNotes& n = d.notes;
    n.Date = "08/12/2026";
    n.Time = hh + ":" + mm + ":00";
    n.CableId = o.cableId;
    n.Comments[0] = "Synthetic waveform, not a measurement";
    n.Comments[1] = FaultLine(o);
    n.Comments[2] = DistanceLine(o);
    n.Comments[3] = "Gain " + std::to_string(o.gain) + ", pulse " + std::to_string(o.pulseWidthNs) +
                    " ns, interval " + ShortestText(IntervalNs(o.intervalPs)) + " ns";
    n.Comments[4] = std::to_string(o.samples) + " samples, memory " + std::to_string(o.memNo) +
                    ", seed " + std::to_string(o.seed);
    n.MoreComments = o.UsesLineModel()
                         ? LineModelNote(o)
                         : "Made without an instrument: a launch pulse at 0 ns, cable loss that "
                           "weakens and widens the reflection, and a little converter noise.\r\n" +
                               std::string(kTryIt);
    n.CutToFields();
    return d;
}

} // namespace r470
