// What the window program's start-up differs in from one system to another.
#pragma once

namespace r470 {

// False, after telling the user how to get one, when no display can be opened; a Windows
// desktop always has one.
bool DisplayAvailable();

} // namespace r470
