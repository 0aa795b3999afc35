// Where the details panel's second column goes and how much room each value has, so that
// every value shows its whole text: a value that would reach the next column moves that
// column to the right, and what still does not fit wraps at the column's edge.
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
    int rightValue = 0; // the second column's value
};

struct DetailsPlacement {
    int secondColumnX = kDetailsSecondColumnX;
    std::array<int, kDetailsRows> leftRoom{}; // widest a first-column value may be
    int rightRoom = 0;                        // widest a second-column value may be
};

// edge: the right end of the room for texts (the slot buttons sit beyond it).
DetailsPlacement PlaceDetails(const std::array<DetailsRowWidths, kDetailsRows>& rows, int edge);

} // namespace r470
