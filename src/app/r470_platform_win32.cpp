#include "app/r470_platform.h"

namespace r470 {

bool DisplayAvailable() {
    return true;
}

} // namespace r470
