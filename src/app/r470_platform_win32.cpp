#include "app/r470_platform.h"

#include <windows.h>

namespace r470 {

void PrepareProcess() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

bool DisplayAvailable() {
    return true;
}

} // namespace r470
