// Where an installed program lives, one implementation per system.
#pragma once

#include <string>

namespace r470 {

// True for the folder of an installed program, which every user of the machine shares:
// nobody's settings belong there, not even when the user may write to it.
bool SharedProgramFolder(const std::string& dir);

} // namespace r470
