// Temporary files of the safe writer: named after the process that writes them, so that one
// left behind by a killed save (or a power cut) can be told from one still being written.
#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>

namespace r470 {

// ".r470~PID.XXXXXX": short, so that a long target name cannot make it too long.
std::string TempFileName(pid_t pid, const std::string& random6);

// The writer's pid from a temporary name: 0 for an older name without one (".r470~XXXXXX"),
// -1 for a name that is not one of ours.
pid_t TempFileOwner(const std::string& name);

// Removes from `dir` our user's temporary files whose writer has gone and which have not
// changed for a minute. Never fails a save: what cannot be removed stays.
void RemoveAbandonedTemps(const std::string& dir, std::time_t now);

} // namespace r470
