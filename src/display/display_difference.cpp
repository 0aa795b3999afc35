// The difference waveform: which grid it is drawn on and the value of each of its points.
#include "display/difference.h"
#include "display/display.h"
#include "display/units.h"

#include <algorithm>
#include <cmath>

namespace r470 {

namespace {

int RawSample(const TraceSlot& s, int n) {
    return s.data
        .samples[static_cast<std::size_t>(std::clamp(n, 1, static_cast<int>(kMaxSamples)) - 1)];
}

} // namespace

int InterpolatedSample(const TraceSlot& other, double t) {
    const double d = other.NsPerSample;
    const int count = other.data.header.SampleCount;
    // Truncated toward zero, at least 1; never past the last sample, whatever the caller.
    double q = d > 0 ? std::trunc(t / d) : 1;
    int i = static_cast<int>(std::clamp(q, 1.0, static_cast<double>(std::max(count, 1))));
    int a = RawSample(other, i);
    int b = i + 1 <= count ? RawSample(other, i + 1) : a;
    double tA = i * d;
    double tB = (i + 1) * d;
    if (tB - tA <= 0)
        return a;
    return Nearest(((b - a) * t + a * tB - b * tA) / (tB - tA));
}

double Display::PixelsPerLevelOf(int slot) const {
    return static_cast<double>(s_.TraceBottom - s_.GraphTop) /
           (Slot(slot).data.header.MaxSample + 1);
}

bool Display::SetDiffGrid() {
    int a = session_.set.DiffA, b = session_.set.DiffB;
    if (a < 1 || a > kFileSlots || b < 1 || b > kFileSlots) {
        s_.DiffRef = s_.DiffOther = 0;
        return false;
    }
    // The finer grid carries the difference; on equal grids the second of the pair.
    bool aFiner = Slot(a).NsPerSample < Slot(b).NsPerSample;
    s_.DiffRef = aFiner ? a : b;
    s_.DiffOther = aFiner ? b : a;
    return true;
}

double Display::DiffValue(int n) const {
    const int ref = s_.DiffRef, other = s_.DiffOther;
    const TraceSlot& r = Slot(ref);
    double t = n * r.NsPerSample;
    double vRef = SampleLevel(ref, RawSample(r, n)) * PixelsPerLevelOf(ref);
    double vOther =
        SampleLevel(other, InterpolatedSample(Slot(other), t)) * PixelsPerLevelOf(other);
    double v = ref < other ? vRef - vOther : vOther - vRef;
    v += (s_.TraceBottom - s_.GraphTop) / 2; // integer halving: the band's middle
    return std::clamp(v, -32000.0, 32000.0);
}

int Display::MapDiffToY(int n) const {
    return s_.GraphTop + Nearest(DiffValue(n)) + 1;
}

int Display::DiffLastSample() const {
    const TraceSlot& a = Slot(session_.set.DiffA);
    const TraceSlot& b = Slot(session_.set.DiffB);
    double end = std::min(a.data.header.SampleCount * a.NsPerSample,
                          b.data.header.SampleCount * b.NsPerSample);
    return std::min(MapNsToData(s_.DiffRef, s_.ViewEndNs), MapNsToData(s_.DiffRef, end));
}

} // namespace r470
