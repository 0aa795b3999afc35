#include "app/r470_platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace r470 {

void PrepareProcess() {}

bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) == "offscreen")
        return true;
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        return true;
    std::fprintf(stderr, "r470 needs a display. Without one, run it under a virtual display:\n"
                         "  xvfb-run -a make run\n");
    return false;
}

} // namespace r470
