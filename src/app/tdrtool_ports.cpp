// tdrtool ports: the COM numbers that can be opened now, and why others cannot.
#include "app/tdrtool_link.h"
#include "instrument/port_probe.h"

namespace tdrtool {

std::string PortsHelp() {
    return "Usage: tdrtool ports\n"
           "Lists the COM numbers that can be opened now with their devices (1-32 /dev/ttyS*,\n"
           "33-64 /dev/ttyUSB*, 65-96 /dev/ttyACM*, or the INI file's [Ports] lines such as\n"
           "COM7=/dev/pts/3), then the serial devices that cannot be opened and why.\n";
}

int RunPorts(const Args& args) {
    if (!args.empty()) {
        if (IsHelp(args[0])) {
            std::cout << PortsHelp();
            return kExitOk;
        }
        return UsageError("ports", "no arguments expected", PortsHelp());
    }
    r470::TermiosPort port(IniPortMap());
    auto probes = r470::ProbePorts(port);
    bool any = false;
    for (const auto& p : probes) {
        if (p.usable) {
            std::cout << "COM" << p.portNo << "  " << p.device << "\n";
            any = true;
        }
    }
    if (!any)
        std::cout << "No COM port can be opened now.\n";
    for (const auto& p : probes) {
        if (!p.usable)
            std::cout << "not usable: " << p.device
                      << (p.portNo ? " (COM" + std::to_string(p.portNo) + ")" : std::string())
                      << ": " << p.reason << "\n";
    }
    return kExitOk;
}

} // namespace tdrtool
