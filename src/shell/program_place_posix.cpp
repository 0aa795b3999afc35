#include "shell/program_place.h"

#include "common/file_io.h"

#include <string_view>

namespace r470 {

// PREFIX/bin beside PREFIX/share/r470.
bool SharedProgramFolder(const std::string& dir) {
    constexpr std::string_view kBin = "/bin";
    if (!std::string_view(dir).ends_with(kBin))
        return false;
    return IsFolder(dir.substr(0, dir.size() - kBin.size()) + "/share/r470");
}

} // namespace r470
