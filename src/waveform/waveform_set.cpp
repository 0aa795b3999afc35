#include "waveform/waveform_set.h"

#include "shell/messages.h"
#include "shell/prompts.h"

namespace r470 {

void WaveformSet::Reset() {
    for (int n = 1; n <= kDiffSlot; ++n)
        Slot(n).Loaded = false;
    Slot(kDiffSlot).TraceOffset = 0;
    TraceCount = 0;
    CurTrace = 0;
    DiffA = 0;
    DiffB = 0;
}

bool NoTraces(const WaveformSet& set, Prompts& prompts) {
    if (set.TraceCount != 0)
        return false;
    prompts.ShowMessageBox(MessageText(MsgNoTraces), MessageText(MsgProblem), MbOk);
    return true;
}

const char* const kDiffRefusalText = "Invalid operation for difference waveform";

bool DiffWave(const WaveformSet& set, Prompts& prompts) {
    if (set.CurTrace < kDiffSlot)
        return false;
    prompts.ShowMsgWindow(kDiffRefusalText);
    return true;
}

std::string SaveChangesQuestion(const TraceSlot& slot) {
    return slot.FileName + " " + MessageText(MsgHasChanged);
}

bool WaveformSet::CheckChange(int n, bool cancelAllowed, int displayDiel, Prompts& prompts,
                              const FileWriter& writer) {
    if (n < 1 || n > kFileSlots || !Slot(n).Loaded || !Slot(n).Changed)
        return true;
    int answer = prompts.ShowMessageBox(SaveChangesQuestion(Slot(n)), "",
                                        (cancelAllowed ? MbYesNoCancel : MbYesNo) | MbIconStop);
    if (answer == IdCancel)
        return false;
    if (answer != IdYes)
        return true;
    int result = SaveFile(Slot(n), Slot(n).Path, false, displayDiel, prompts, writer);
    return result == SaveWritten || !cancelAllowed;
}

} // namespace r470
