#include "waveform/interpolate.h"

#include "waveform/units.h"

#include <algorithm>
#include <cmath>

namespace r470 {

int RawSample(const TraceSlot& s, int n) {
    return s.data
        .samples[static_cast<std::size_t>(std::clamp(n, 1, static_cast<int>(kMaxSamples)) - 1)];
}

int InterpolatedSample(const TraceSlot& other, double t) {
    const double d = other.NsPerSample;
    const int count = other.data.header.SampleCount;
    // Truncated toward zero, at least 1; never past the last sample, whatever the caller.
    // Held in range first, so that the conversion itself cuts off the fraction.
    const double last = static_cast<double>(std::max(count, 1));
    int i = d > 0 ? static_cast<int>(std::clamp(t / d, 1.0, last)) : 1;
    int a = RawSample(other, i);
    int b = i + 1 <= count ? RawSample(other, i + 1) : a;
    double tA = i * d;
    double tB = (i + 1) * d;
    if (tB - tA <= 0)
        return a;
    return Nearest(((b - a) * t + a * tB - b * tA) / (tB - tA));
}

} // namespace r470
