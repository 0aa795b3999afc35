// What the Windows console stop handler needs of the file layer.
#pragma once

namespace r470 {

// Returns once no file is being written, and keeps new writes from starting: the console's
// stop handler calls it before it ends the program, so that a stop never leaves a file half
// written (on POSIX the stop signals are held back instead).
void HoldFileWritesForExit();

} // namespace r470
