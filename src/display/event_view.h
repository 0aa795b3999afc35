// Where the view goes when "Find fault" or "Next event" puts cursor 2 on an event: the
// event and the body of its reflection inside, the cursor clear of the right edge, so that
// what the cursor points at can be seen.
#pragma once

namespace r470 {

// An event as the view must show it: its onset (where cursor 2 goes) and where the body
// of its reflection ends.
struct EventSpan {
    double onsetNs = 0;
    double endNs = 0;
};

// The part of the view's width kept free between the cursor and the right edge.
constexpr double kCursorEdgeRoom = 0.1;

// True when the view from `startNs` to `endNs` shows the span with the cursor clear of the
// right edge.
bool ViewShows(double startNs, double endNs, const EventSpan& e);

// The least range, from 0, that shows the span.
double RangeToShow(const EventSpan& e);

// The start of a zoomed view `widthNs` wide within 0 to `rangeNs` that shows the span:
// `startNs` itself when it does, else the onset in the middle, moved left as far as the
// body needs. A body longer than the view is shown from just before its onset.
double ZoomedStartToShow(double startNs, double widthNs, double rangeNs, const EventSpan& e);

} // namespace r470
