// What the window program's start-up differs in from one system to another.
#pragma once

namespace r470 {

// False, after telling the user how to get one, when no display can be opened; a Windows
// desktop always has one.
bool DisplayAvailable();
// Called first: on Windows, a drive without a medium (an empty card reader in the file
// dialog's list) answers as an error of its own instead of a system box.
void PrepareProcess();

} // namespace r470
