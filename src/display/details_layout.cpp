#include "display/details_layout.h"

#include <algorithm>

namespace r470 {

namespace {
constexpr int kLeastRoom = 20; // a narrow window still shows a few characters a line
}

DetailsPlacement PlaceDetails(const std::array<DetailsRowWidths, kDetailsRows>& rows, int edge) {
    int needed = kDetailsSecondColumnX;
    int widestRight = 0;
    for (const DetailsRowWidths& r : rows) {
        // A value may run on where the second column's row is empty, as a file name of
        // the difference waveform does over the hidden date.
        if (r.right && r.left > 0)
            needed = std::max(needed, kDetailsValueX + r.left + kDetailsColumnGap);
        widestRight = std::max(widestRight, r.rightValue);
    }
    // Moved only as far as leaves the second column's own values their whole width.
    const int furthest = edge - kDetailsSecondValueOffset - widestRight;
    DetailsPlacement p;
    p.secondColumnX = std::max(kDetailsSecondColumnX, std::min(needed, furthest));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        int end = rows[i].right ? p.secondColumnX - kDetailsColumnGap : edge;
        p.leftRoom[i] = std::max(kLeastRoom, end - kDetailsValueX);
    }
    p.rightRoom = std::max(kLeastRoom, edge - p.secondColumnX - kDetailsSecondValueOffset);
    return p;
}

} // namespace r470
