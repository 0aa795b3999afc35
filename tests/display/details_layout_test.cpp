#include "display/details_layout.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

// Text room 72..537, as on a 648-pixel window: date block keeps 60, comments 150.
TEST(DetailsLayout, TheNextColumnMovesClearOfAValueOrTheValueWraps) {
    struct Case {
        const char* what;
        int row, left;
        bool right;
        int blockA, blockB, leftRoom;
    };
    const Case cases[] = {
        {"short values leave the columns in place", 0, 80, true, 165, 165, 165 - 8 - 72},
        {"a long file name moves date, time and cable", 0, 250, true, 330, 165, 250},
        {"a long machine moves the comments", 6, 200, true, 165, 280, 200},
        {"as far as leaves the date whole, then wraps", 0, 400, true, 420, 165, 340},
        {"no move over an empty row", 0, 400, false, 165, 165, 537 - 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<DetailsRowWidths, kDetailsRows> rows{};
        for (int r = 0; r < 8; ++r)
            rows[static_cast<std::size_t>(r)] = {40, true};
        rows[static_cast<std::size_t>(c.row)] = {c.left, c.right};
        const DetailsPlacement p = PlaceDetails(rows, {{{0, 2, 60}, {3, 7, 150}}}, 537);
        EXPECT_EQ(p.blockX[0], c.blockA);
        EXPECT_EQ(p.blockX[1], c.blockB);
        EXPECT_EQ(p.leftRoom[static_cast<std::size_t>(c.row)], c.leftRoom);
        EXPECT_EQ(p.blockRoom[0], 537 - c.blockA - 57);
    }
}

} // namespace
} // namespace r470
