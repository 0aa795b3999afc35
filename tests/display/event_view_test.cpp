// Where the view goes for an event: kept when it shows the event, else moved or grown so
// that the onset and the reflection's body are inside and the cursor is off both edges.
#include "display/event_view.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(EventView, AZoomedViewMovesOnlyWhenItDoesNotShowTheEvent) {
    struct Case {
        const char* rule;
        double start, width, range;
        EventSpan event;
        double wantStart;
    };
    const Case cases[] = {
        {"shown with room: kept", 0, 100, 1000, {50, 80}, 0},
        {"cursor in the last tenth: onset to the middle", 0, 100, 1000, {95, 99}, 45},
        {"cursor in the first tenth: onset to the middle", 100, 100, 1000, {105, 120}, 55},
        {"body past the edge: onset to the middle", 0, 100, 1000, {80, 115}, 30},
        {"long body: moved left until it ends at the edge", 0, 100, 1000, {200, 270}, 170},
        {"body longer than the view: from just before the onset", 0, 100, 1000, {300, 500}, 290},
        {"before the view: brought back", 500, 100, 1000, {100, 120}, 50},
        {"near the start: the view starts at 0", 300, 100, 1000, {20, 40}, 0},
        {"near the end of the range: the view ends there", 0, 100, 1000, {960, 980}, 900},
    };
    for (const Case& c : cases) {
        double start = ZoomedStartToShow(c.start, c.width, c.range, c.event);
        EXPECT_DOUBLE_EQ(start, c.wantStart) << c.rule;
    }
}

TEST(EventView, TheRangeReachesTheBodyAndLeavesATenthBeyondTheCursor) {
    EXPECT_DOUBLE_EQ(RangeToShow({90, 95}), 100);  // the cursor's room decides
    EXPECT_DOUBLE_EQ(RangeToShow({90, 130}), 130); // the body decides
    EXPECT_TRUE(ViewShows(0, RangeToShow({90, 95}), {90, 95}));
    EXPECT_FALSE(ViewShows(0, 99, {90, 95}));
    EXPECT_FALSE(ViewShows(91, 200, {90, 95})); // onset before the view
}

} // namespace
} // namespace r470
