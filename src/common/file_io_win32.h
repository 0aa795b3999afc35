// What the Windows console stop handler needs of the file layer, and the swap of a saved
// file's new content into place, which a test can make fail as Windows can.
#pragma once

namespace r470 {

// Returns once no file is being written, and keeps new writes from starting: the console's
// stop handler calls it before it ends the program, so that a stop never leaves a file half
// written (on POSIX the stop signals are held back instead).
void HoldFileWritesForExit();

// The calls that put a new file under a name: 0, or the system's error number.
struct FileSwapCalls {
    unsigned long (*replace)(const wchar_t* target, const wchar_t* temp) = nullptr;
    unsigned long (*move)(const wchar_t* from, const wchar_t* to) = nullptr;
};
// Replaces the calls (null: the system's) and returns the ones in use before.
FileSwapCalls SetFileSwapCalls(FileSwapCalls calls);

} // namespace r470
