#include "waveform/file_dialog.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace r470 {

std::vector<std::string> SystemUserRoots() {
    const char* home = std::getenv("HOME");
    std::ifstream in("/proc/mounts");
    std::string mounts((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return UserRoots(home ? home : "", mounts);
}

} // namespace r470
