// Where the details panel's second column goes and how much room each value has, so that
// every value shows its whole text: a value that would reach the next column moves that
// column's block (date, time and cable ID; or the comments) to the right, and what still
// does not fit wraps at its room's edge.
#pragma once

#include <array>

namespace r470 {

constexpr int kDetailsRows = 9;
constexpr int kDetailsValueX = 72;            // values of the first column
constexpr int kDetailsSecondColumnX = 165;    // captions of the second column, at the least
constexpr int kDetailsSecondValueOffset = 57; // its values, from its captions
constexpr int kDetailsColumnGap = 8;

struct DetailsRowWidths {
    int left = 0;       // the first column's value, 0 when empty
    bool right = false; // the second column has a caption or value on this row
};

// A block of rows of the second column that moves as one.
struct DetailsBlock {
    int firstRow, lastRow;
    int keepWhole; // the widest of its values that must stay on one line
};

struct DetailsPlacement {
    std::array<int, 2> blockX{kDetailsSecondColumnX, kDetailsSecondColumnX}; // captions
    std::array<int, 2> blockRoom{};           // widest a value of the block may be
    std::array<int, kDetailsRows> leftRoom{}; // widest a first-column value may be
};

// edge: the right end of the room for texts (the slot buttons sit beyond it).
DetailsPlacement PlaceDetails(const std::array<DetailsRowWidths, kDetailsRows>& rows,
                              const std::array<DetailsBlock, 2>& blocks, int edge);

} // namespace r470
