#include "app/tdrtool_platform.h"

#include <unistd.h>

namespace tdrtool {

std::vector<std::string> CommandLine(int argc, char** argv) {
    return {argv, argv + argc};
}

void UseBinaryStreams() {}

bool StderrIsTerminal() {
    return ::isatty(2) != 0;
}

} // namespace tdrtool
