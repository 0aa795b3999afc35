// tdrtool instrument on Windows: the simulated instrument makes a pseudo-terminal, which
// Windows does not have; it runs on Linux, and under Wine it drives this program's ports.
#include "app/tdrtool_cli.h"

namespace tdrtool {

std::string InstrumentHelp() {
    return "Usage: tdrtool instrument ...\n"
           "The simulated instrument runs on Linux only: it needs a pseudo-terminal.\n";
}

int RunInstrument(const Args&) {
    std::cerr << "tdrtool instrument: the simulated instrument runs on Linux only\n";
    return kExitFailed;
}

} // namespace tdrtool
