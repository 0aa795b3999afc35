#include "waveform/trace_save.h"

#include "shell/messages.h"
#include "shell/prompts.h"

namespace r470 {

int SaveFile(TraceSlot& slot, const std::string& path, bool askOverwrite, int displayDiel,
             Prompts& prompts, const FileWriter& writer) {
    if (askOverwrite && CanOpenForReading(path)) {
        int answer = prompts.ShowMessageBox(MessageText(MsgOverwrite), MessageText(MsgProblem),
                                            MbYesNoCancel | MbIconExclamation);
        if (answer == IdNo)
            return SaveDeclined;
        if (answer != IdYes)
            return SaveCancelled;
    }
    for (;;) {
        int e = writer(path, [&](ByteSink& out) {
            slot.data.header.Diel = static_cast<std::uint16_t>(displayDiel);
            return WriteTrace(out, slot.data);
        });
        if (e == 0) {
            slot.Changed = false;
            return SaveWritten;
        }
        int answer = prompts.ShowMessageBox(IoErrorText(e), MessageText(MsgProblem), MbRetryCancel);
        if (answer != IdRetry)
            return SaveCancelled;
        if (e == 2 || e == 3 || e == 5)
            return SaveDeclined;
        if (e == 4)
            return SaveCancelled;
    }
}

} // namespace r470
