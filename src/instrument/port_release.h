// Every exit releases the port: the ports this process holds are noted here, so that a
// stop by SIGINT, SIGTERM, SIGHUP or SIGQUIT clears their exclusive flag, closes them (which
// drops the flock) and removes our lock files before the program ends. On Windows the
// console's Ctrl+C, Ctrl+Break and close end the program the same way (the system closes
// its handles); the numbers noted there are the port layer's handles.
#pragma once

#include <string>

namespace r470 {

// Called by the port layer: after a successful open, when our lock file is written, and
// before the close.
void NoteHeldPort(int fd);
void NoteLockFile(int fd, const std::string& path);
void ForgetHeldPort(int fd);

// Releases every noted port now; safe inside a signal handler. Answers how many there were.
int ReleaseHeldPorts();

// From now on the four signals release every held port, write `cancelledLine` to standard
// error (always, or with `onlyWhenHeld` only when a port was held) and end the program with
// 128 plus the signal number.
void ReleasePortsOnSignals(const std::string& cancelledLine, bool onlyWhenHeld = false);

#ifndef _WIN32
// The signals this handles, for code that holds them back while it writes a file.
extern const int kStopSignals[4];
#endif

} // namespace r470
