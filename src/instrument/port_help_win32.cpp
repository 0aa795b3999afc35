#include "instrument/port_setup.h"

namespace r470 {

std::string PortHelpText() {
    return DeviceManagerHelpText();
}

} // namespace r470
