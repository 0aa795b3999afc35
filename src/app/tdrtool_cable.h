// "--cable NAME" wherever "--diel D" is taken: a cable of the library stands for its
// velocity factor, and gives exactly the numbers that factor gives.
#pragma once

#include "analysis/cable_library.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tdrtool {

// The built-in cables and the user's list; the list's skipped lines are told to `err`.
r470::CableLibrary LoadCableLibrary(std::ostream& err, const char* command);

struct DielOption {
    std::optional<int> diel; // velocity factor x 1000
    std::string given;       // the option that set it

    static bool Takes(const std::string& name) { return name == "--diel" || name == "--cable"; }
    // Reads "--diel D" (300-999) or "--cable NAME". Answers nothing when read, else the
    // exit code to end with: a bad value, an unknown cable (with the nearest names), or
    // both options given.
    std::optional<int> Read(std::string_view command, const std::string& name,
                            const std::string& value, const std::string& help);
};

// The subcommands of the cable library and the velocity factor from a known length.
int RunCables(const std::vector<std::string>& args);
std::string CablesHelp();
int RunVf(const std::vector<std::string>& args);
std::string VfHelp();

} // namespace tdrtool
