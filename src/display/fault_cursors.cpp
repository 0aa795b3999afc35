#include "display/fault_cursors.h"

#include "analysis/first_change.h"
#include "display/event_view.h"
#include "shell/messages.h"
#include "shell/prompts.h"

#include <algorithm>
#include <cmath>

namespace r470 {

const char* const kNoReflectionText = "No reflection stands above the noise";

namespace {

bool DifferenceCurrent(const WaveformSet& set) {
    return set.CurTrace == kDiffSlot && set.DiffA >= 1 && set.DiffB >= 1;
}

// A cursor put on an event's onset is at it, not before it.
constexpr double kSameTimeNs = 1e-6;
// A reflection's body: this many launch pulse widths from its onset.
constexpr double kBodyPulses = 3;

// The launched pulse's width, from the running mean the analysis matched to it.
double PulseNs(const TraceAnalysis& a) {
    return (4 * a.smoothHalf + 2) * a.nsPerSample;
}

double BodyEndNs(const TraceAnalysis& a, double onsetNs) {
    const double pulse = PulseNs(a);
    double end = onsetNs + kBodyPulses * pulse;
    for (const TraceEvent& e : a.events)
        if (std::abs(e.onsetNs - onsetNs) < kSameTimeNs)
            end = std::max(end, e.peakNs + pulse);
    return end;
}

int WalkedSlot(const WaveformSet& set) {
    int slot = DifferenceCurrent(set) ? set.DiffB : set.CurTrace;
    return slot < 1 || slot > kFileSlots ? 0 : slot;
}

} // namespace

FaultTargets FindFaultTargets(const WaveformSet& set) {
    FaultTargets t;
    if (DifferenceCurrent(set)) {
        FirstChange c = CompareWithReference(set.Slot(set.DiffB).data, set.Slot(set.DiffA).data);
        TraceAnalysis reference = AnalyseTrace(set.Slot(set.DiffA).data);
        if (!c.found || !reference.hasLaunch)
            return t;
        t = {true, LaunchCursorNs(reference), c.onsetNs, BodyEndNs(reference, c.onsetNs)};
        return t;
    }
    if (set.CurTrace < 1 || set.CurTrace > kFileSlots)
        return t;
    TraceAnalysis a = AnalyseTrace(set.Slot(set.CurTrace).data);
    if (a.largest < 0)
        return t;
    const double onset = a.events[static_cast<std::size_t>(a.largest)].onsetNs;
    t = {true, LaunchCursorNs(a), onset, BodyEndNs(a, onset)};
    return t;
}

std::vector<TraceEvent> EventsToWalk(const WaveformSet& set) {
    int slot = WalkedSlot(set);
    if (slot == 0)
        return {};
    return AnalyseTrace(set.Slot(slot).data).events;
}

double ReflectionEndNs(const WaveformSet& set, double onsetNs) {
    int slot = WalkedSlot(set);
    if (slot == 0)
        return onsetNs;
    return BodyEndNs(AnalyseTrace(set.Slot(slot).data), onsetNs);
}

std::optional<EventStep> NextEventOnset(const std::vector<TraceEvent>& events, double fromNs,
                                        int dir) {
    if (events.empty())
        return std::nullopt;
    if (dir > 0) {
        for (const TraceEvent& e : events)
            if (e.onsetNs > fromNs + kSameTimeNs)
                return EventStep{e.onsetNs, false};
        return EventStep{events.front().onsetNs, true};
    }
    for (auto e = events.rbegin(); e != events.rend(); ++e)
        if (e->onsetNs < fromNs - kSameTimeNs)
            return EventStep{e->onsetNs, false};
    return EventStep{events.back().onsetNs, true};
}

void PlaceCursors(Display& display, double c1, double c2, double bodyEndNs) {
    DisplayState& s = display.state();
    s.Cursor1Ns = c1;
    s.Cursor2Ns = c2;
    s.ActiveCursor = 2;
    const EventSpan event{c2, std::max(c2, bodyEndNs)};
    if (RangeToShow(event) > s.RangeNs) {
        const bool zoomed = s.Zoomed;
        s.RangeNs = RangeToShow(event);
        display.SetRange(true); // up to the next range step, unzoomed
        if (!zoomed)
            return;
        // Zoomed as the zoom makes it: half the range, here placed below.
        s.Zoomed = true;
        s.ViewStartNs = 0;
        s.ViewEndNs = s.RangeNs / 2;
    }
    if (!s.Zoomed)
        return;
    const double width = s.ViewEndNs - s.ViewStartNs;
    s.ViewStartNs = ZoomedStartToShow(s.ViewStartNs, width, s.RangeNs, event);
    s.ViewEndNs = s.ViewStartNs + width;
}

bool FindFault(const WaveformSet& set, Display& display, Prompts& prompts, bool redraw) {
    if (NoTraces(set, prompts))
        return false;
    FaultTargets t = FindFaultTargets(set);
    if (!t.found) {
        prompts.ShowMessageBox(kNoReflectionText, MessageText(MsgProblem), MbOk);
        return false;
    }
    PlaceCursors(display, t.cursor1Ns, t.cursor2Ns, t.bodyEndNs);
    if (redraw)
        display.Redraw();
    return true;
}

bool StepEvent(const WaveformSet& set, Display& display, Prompts& prompts, int dir) {
    if (NoTraces(set, prompts))
        return false;
    std::optional<EventStep> next =
        NextEventOnset(EventsToWalk(set), display.state().Cursor2Ns, dir);
    if (!next) {
        prompts.ShowMessageBox(kNoReflectionText, MessageText(MsgProblem), MbOk);
        return false;
    }
    if (next->wrapped)
        prompts.Beep();
    const double onset = next->onsetNs;
    PlaceCursors(display, display.state().Cursor1Ns, onset, ReflectionEndNs(set, onset));
    display.Redraw();
    return true;
}

} // namespace r470
