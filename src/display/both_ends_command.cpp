#include "display/both_ends_command.h"

#include "analysis/both_ends.h"
#include "analysis/cable_library.h"
#include "common/file_io.h"
#include "display/fault_cursors.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/units.h"
#include "waveform/workspace.h"

#include <cmath>

namespace r470 {

const char* const kBothEndsCaption = "Fault from both ends";

bool FaultFromBothEnds(Workspace& session, Prompts& prompts, BothEndsWindow& window) {
    WaveformSet& set = session.set;
    if (NoTraces(set, prompts) || DiffWave(set, prompts))
        return false;
    auto problem = [&](const std::string& text) {
        prompts.ShowMessageBox(text, MessageText(MsgProblem), MbOk | MbIconExclamation);
        return false;
    };
    const bool feet = session.settings.XAxisUnits == AxisFeet;
    BothEndsQuestion q;
    q.endA = BaseName(set.Slot(set.CurTrace).FileName);
    q.unit = feet ? "ft" : "m";
    for (int slot = 1; slot <= kFileSlots; ++slot)
        if (slot != set.CurTrace && set.Slot(slot).Loaded) {
            q.slotsB.push_back(slot);
            q.namesB.push_back(BaseName(set.Slot(slot).FileName));
        }
    if (q.slotsB.empty())
        return problem("Load the waveforms taken at both ends of the cable, and select the one "
                       "of end A.");
    struct Result {
        BothEndsFix fix;
        std::string nameB;
    };
    // Worked out afresh for every "&Ok": end B or the length may have changed since.
    auto work = [&](const BothEndsAnswer& a) {
        Result r;
        bool listed = false;
        for (int slot : q.slotsB)
            listed = listed || slot == a.slotB;
        if (!listed) {
            r.fix.refusal = "Choose the waveform of end B.";
            return r;
        }
        const double length = ParseDecimal(a.length).value_or(NAN);
        if (!(length > 0)) {
            r.fix.refusal = "Enter the length of the cable, a number greater than 0.";
            return r;
        }
        r.nameB = BaseName(set.Slot(a.slotB).FileName);
        std::optional<double> times[2];
        const int slots[2] = {set.CurTrace, a.slotB};
        for (int i = 0; i < 2; ++i) {
            times[i] = FaultTimeFromLaunch(AnalyseTrace(set.Slot(slots[i]).data), std::nullopt);
            if (!times[i]) {
                r.fix.refusal = std::string(i == 0 ? "End A (" : "End B (") +
                                BaseName(set.Slot(slots[i]).FileName) + "): " + kNoReflectionText;
                return r;
            }
        }
        r.fix = LocateFromBothEnds(length, feet, *times[0], *times[1]);
        return r;
    };
    std::optional<BothEndsAnswer> answer =
        window.AskBothEnds(q, [&](const BothEndsAnswer& a) { return work(a).fix.refusal; });
    if (!answer)
        return false;
    const Result r = work(*answer);
    // A window that closed on an answer it was told to refuse.
    if (!r.fix.refusal.empty())
        return problem(r.fix.refusal);
    const BothEndsFix& fix = r.fix;
    prompts.ShowMessageBox(BothEndsText(fix, feet, q.endA, r.nameB), kBothEndsCaption,
                           MbOk | MbIconInformation);
    return true;
}

} // namespace r470
