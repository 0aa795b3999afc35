// The user's cable list is edited by hand: any bytes must parse, every line must end up as
// a cable or a reported problem, and the library built from it must answer look-ups.
#include "analysis/cable_library.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    r470::UserCableFile file = r470::ParseUserCables(text);
    for (const r470::CableEntry& e : file.entries)
        if (e.diel < 300 || e.diel > 999 || e.line < 1 ||
            e.line > static_cast<int>(file.lines.size()))
            std::abort();
    r470::CableLibrary library(file);
    std::string first = text.substr(0, text.find('\n'));
    (void)library.Find(first);
    (void)library.NearestNames(first.substr(0, 64), 3);
    return 0;
}
