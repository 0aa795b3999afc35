// Where the view goes when "Find fault" or "Next event" puts cursor 2 on an event: the
// event and the body of its reflection inside, the cursor clear of both edges, so that
// what the cursor points at and the baseline it leaves can be seen.
#pragma once

namespace r470 {

// An event as the view must show it: its onset (where cursor 2 goes) and where the body
// of its reflection ends.
struct EventSpan {
    double onsetNs = 0;
    double endNs = 0;
};

// The part of the view's width kept free between the cursor and either edge.
constexpr double kCursorEdgeRoom = 0.1;

// True when the view from `startNs` to `endNs` shows the span with the cursor clear of
// both edges.
bool ViewShows(double startNs, double endNs, const EventSpan& e);

// The least range, from 0, that shows the span.
double RangeToShow(const EventSpan& e);

// The start of a zoomed view `widthNs` wide within 0 to `rangeNs` that shows the span:
// `startNs` itself when it does, else the onset in the middle, moved left as far as the
// body needs. A body longer than the view is shown from just before its onset. Only time 0
// and the range's end can leave the cursor nearer an edge.
double ZoomedStartToShow(double startNs, double widthNs, double rangeNs, const EventSpan& e);

} // namespace r470
