// Temporary files of the safe writer: named after the process that writes them, so that one
// left behind by a killed save (or a power cut) can be told from one still being written.
#pragma once

#include <ctime>
#include <string>

namespace r470 {

// ".r470~PID.XXXXXX": short, so that a long target name cannot make it too long.
std::string TempFileName(long pid, const std::string& random6);

// The writer's pid from a temporary name: 0 for an older name without one (".r470~XXXXXX"),
// -1 for a name that is not one of ours.
long TempFileOwner(const std::string& name);

// Whether a temporary file named `name` may be removed: one of ours (`owner` from
// TempFileOwner, not -1) that has not changed for a minute, whose writer `gone` (an older
// name without a writer counts as gone once it is quiet).
bool TempFileAbandoned(long owner, std::time_t modified, std::time_t now, bool writerGone);

// Removes from `dir` our user's temporary files whose writer has gone and which have not
// changed for a minute. Never fails a save: what cannot be removed stays. One per system.
void RemoveAbandonedTemps(const std::string& dir, std::time_t now);

} // namespace r470
