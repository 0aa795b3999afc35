// Saving a slot's waveform to a file, with the overwrite question and the retry rules.
#pragma once

#include "waveform/trace_slot.h"

namespace r470 {

class Prompts;

enum SaveResult : int { SaveWritten = 1, SaveCancelled = 2, SaveDeclined = 7 };

// Writes `slot` to `path` with `displayDiel` stored as its dielectric. Asks before
// overwriting when `askOverwrite`. A failed write offers Retry: after "file not found",
// "path not found" or "access denied" Retry gives up with SaveDeclined so that the caller
// can ask for another name; after "too many open files" it gives up with SaveCancelled;
// anything else is tried again.
int SaveFile(TraceSlot& slot, const std::string& path, bool askOverwrite, int displayDiel,
             Prompts& prompts, const FileWriter& writer = WriteFileSafely);

} // namespace r470
