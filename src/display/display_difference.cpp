// The difference waveform: which grid it is drawn on and the value of each of its points.
#include "display/display.h"
#include "waveform/interpolate.h"
#include "waveform/units.h"

#include <algorithm>
#include <cmath>

namespace r470 {

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
