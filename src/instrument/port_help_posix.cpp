#include "instrument/port_holders.h"
#include "instrument/port_setup.h"

namespace r470 {

// Device Manager is no advice on Linux: the group, the adapter's names and ModemManager are.
std::string PortHelpText() {
    return LinuxPortHelpText(ModemServiceRuns(PortSystem{}));
}

} // namespace r470
