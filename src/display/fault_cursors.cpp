#include "display/fault_cursors.h"

#include "analysis/first_change.h"
#include "shell/messages.h"
#include "shell/prompts.h"

#include <algorithm>

namespace r470 {

const char* const kNoReflectionText = "No reflection stands above the noise";

namespace {

bool DifferenceCurrent(const WaveformSet& set) {
    return set.CurTrace == kDiffSlot && set.DiffA >= 1 && set.DiffB >= 1;
}

// A cursor put on an event's onset is at it, not before it.
constexpr double kSameTimeNs = 1e-6;

} // namespace

FaultTargets FindFaultTargets(const WaveformSet& set) {
    FaultTargets t;
    if (DifferenceCurrent(set)) {
        FirstChange c = CompareWithReference(set.Slot(set.DiffB).data, set.Slot(set.DiffA).data);
        TraceAnalysis reference = AnalyseTrace(set.Slot(set.DiffA).data);
        if (!c.found || !reference.hasLaunch)
            return t;
        t = {true, LaunchCursorNs(reference), c.onsetNs};
        return t;
    }
    if (set.CurTrace < 1 || set.CurTrace > kFileSlots)
        return t;
    TraceAnalysis a = AnalyseTrace(set.Slot(set.CurTrace).data);
    if (a.largest < 0)
        return t;
    t = {true, LaunchCursorNs(a), a.events[static_cast<std::size_t>(a.largest)].onsetNs};
    return t;
}

std::vector<TraceEvent> EventsToWalk(const WaveformSet& set) {
    int slot = DifferenceCurrent(set) ? set.DiffB : set.CurTrace;
    if (slot < 1 || slot > kFileSlots)
        return {};
    return AnalyseTrace(set.Slot(slot).data).events;
}

std::optional<double> NextEventOnset(const std::vector<TraceEvent>& events, double fromNs,
                                     int dir) {
    if (events.empty())
        return std::nullopt;
    if (dir > 0) {
        for (const TraceEvent& e : events)
            if (e.onsetNs > fromNs + kSameTimeNs)
                return e.onsetNs;
        return events.front().onsetNs;
    }
    for (auto e = events.rbegin(); e != events.rend(); ++e)
        if (e->onsetNs < fromNs - kSameTimeNs)
            return e->onsetNs;
    return events.back().onsetNs;
}

void PlaceCursors(Display& display, double c1, double c2) {
    DisplayState& s = display.state();
    s.Cursor1Ns = c1;
    s.Cursor2Ns = c2;
    s.ActiveCursor = 2;
    if (!s.Zoomed && c2 > s.ViewEndNs) {
        s.RangeNs = c2;
        display.SetRange(true);
    } else if (s.Zoomed && (c2 < s.ViewStartNs || c2 > s.ViewEndNs)) {
        s.ViewStartNs = std::max(0.0, c2 - s.RangeNs / 4);
        s.ViewEndNs = std::min(s.RangeNs, c2 + s.RangeNs / 4);
    }
}

bool FindFault(const WaveformSet& set, Display& display, Prompts& prompts, bool redraw) {
    if (NoTraces(set, prompts))
        return false;
    FaultTargets t = FindFaultTargets(set);
    if (!t.found) {
        prompts.ShowMessageBox(kNoReflectionText, MessageText(MsgProblem), MbOk);
        return false;
    }
    PlaceCursors(display, t.cursor1Ns, t.cursor2Ns);
    if (redraw)
        display.Redraw();
    return true;
}

bool StepEvent(const WaveformSet& set, Display& display, Prompts& prompts, int dir) {
    if (NoTraces(set, prompts))
        return false;
    std::optional<double> next = NextEventOnset(EventsToWalk(set), display.state().Cursor2Ns, dir);
    if (!next) {
        prompts.ShowMessageBox(kNoReflectionText, MessageText(MsgProblem), MbOk);
        return false;
    }
    PlaceCursors(display, display.state().Cursor1Ns, *next);
    display.Redraw();
    return true;
}

} // namespace r470
