#include "display/return_loss.h"

#include "shell/messages.h"

namespace r470 {

namespace {
constexpr int kDiffTraceRefusal = 114;
} // namespace

ReturnLoss MeasureCurrentReturnLoss(const WaveformSet& set, double c1, double c2) {
    ReturnLoss out;
    if (set.TraceCount == 0 || set.CurTrace < 1)
        out.refusal = MsgNoTraces;
    else if (set.CurTrace >= kDiffSlot)
        out.refusal = kDiffTraceRefusal;
    else
        out = MeasureReturnLoss(set.Slot(set.CurTrace), c1, c2);
    return out;
}

} // namespace r470
