#include "display/event_view.h"

#include <algorithm>

namespace r470 {

namespace {
// A view placed with the cursor a tenth in from an edge counts as showing it.
constexpr double kRoundingNs = 1e-9;
} // namespace

bool ViewShows(double startNs, double endNs, const EventSpan& e) {
    const double room = (endNs - startNs) * kCursorEdgeRoom - kRoundingNs;
    return e.onsetNs >= startNs + room && e.onsetNs <= endNs - room && e.endNs <= endNs;
}

double RangeToShow(const EventSpan& e) {
    return std::max(e.endNs, e.onsetNs / (1 - kCursorEdgeRoom));
}

double ZoomedStartToShow(double startNs, double widthNs, double rangeNs, const EventSpan& e) {
    if (ViewShows(startNs, startNs + widthNs, e))
        return startNs;
    double start = e.onsetNs - widthNs / 2;
    if (e.endNs - e.onsetNs > widthNs * (1 - kCursorEdgeRoom))
        start = e.onsetNs - widthNs * kCursorEdgeRoom;
    else if (e.endNs > start + widthNs)
        start = e.endNs - widthNs;
    return std::clamp(start, 0.0, std::max(0.0, rangeNs - widthNs));
}

} // namespace r470
