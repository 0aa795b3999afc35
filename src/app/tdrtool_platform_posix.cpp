#include "app/tdrtool_platform.h"

#include <unistd.h>

namespace tdrtool {

std::vector<std::string> CommandLine(int argc, char** argv) {
    return {argv, argv + argc};
}

void UseBinaryStreams() {}

void PrepareConsole() {}

bool StderrIsTerminal() {
    return ::isatty(2) != 0;
}

std::string SystemFontFolder() {
    return {};
}

} // namespace tdrtool
