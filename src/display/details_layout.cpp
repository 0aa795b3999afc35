#include "display/details_layout.h"

#include <algorithm>

namespace r470 {

namespace {
constexpr int kLeastRoom = 20; // a narrow window still shows a few characters a line
}

DetailsPlacement PlaceDetails(const std::array<DetailsRowWidths, kDetailsRows>& rows,
                              const std::array<DetailsBlock, 2>& blocks, int edge) {
    DetailsPlacement p;
    for (int r = 0; r < kDetailsRows; ++r)
        p.leftRoom[static_cast<std::size_t>(r)] = std::max(kLeastRoom, edge - kDetailsValueX);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const DetailsBlock& block = blocks[b];
        int needed = kDetailsSecondColumnX;
        for (int r = block.firstRow; r <= block.lastRow; ++r) {
            const DetailsRowWidths& row = rows[static_cast<std::size_t>(r)];
            // A value may run on where the second column's row is empty, as a file name
            // of the difference waveform does over the hidden date.
            if (row.right && row.left > 0)
                needed = std::max(needed, kDetailsValueX + row.left + kDetailsColumnGap);
        }
        // Moved only as far as leaves the block's values that must stay whole their width.
        const int furthest = edge - kDetailsSecondValueOffset - block.keepWhole;
        const int x = std::max(kDetailsSecondColumnX, std::min(needed, furthest));
        p.blockX[b] = x;
        p.blockRoom[b] = std::max(kLeastRoom, edge - x - kDetailsSecondValueOffset);
        for (int r = block.firstRow; r <= block.lastRow; ++r)
            if (rows[static_cast<std::size_t>(r)].right)
                p.leftRoom[static_cast<std::size_t>(r)] =
                    std::max(kLeastRoom, x - kDetailsColumnGap - kDetailsValueX);
    }
    return p;
}

} // namespace r470
