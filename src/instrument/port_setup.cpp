#include "instrument/port_setup.h"

#include <algorithm>

namespace r470 {

std::vector<int> ListedPorts(const std::vector<PortProbe>& probes) {
    std::vector<int> out;
    for (const PortProbe& p : probes)
        if (p.usable && p.portNo >= 1 && p.portNo <= PortMap::kHighestPort)
            out.push_back(p.portNo);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::vector<PortProbe> UnusablePorts(const std::vector<PortProbe>& probes) {
    std::vector<PortProbe> out;
    for (const PortProbe& p : probes)
        if (!p.usable)
            out.push_back(p);
    return out;
}

int PortBoxSelection(const std::vector<int>& ports, int commPort) {
    if (ports.empty())
        return -1;
    auto it = std::find(ports.begin(), ports.end(), commPort);
    return it == ports.end() ? 0 : static_cast<int>(it - ports.begin());
}

std::string PortDeviceText(const PortMap& map, int portNo) {
    std::string path = map.DevicePath(portNo);
    return path.empty() ? "no device" : path;
}

const char* const kPortHelpLines[12] = {"Open Device Manager",
                                        "(Start > Run > devmgmt.msc > ok)",
                                        "Expand Ports List",
                                        "Right Click on Port and select Properties",
                                        "",
                                        "Set Port Settings",
                                        "",
                                        "Bits Per Second (4800)",
                                        "Data Bits (8)",
                                        "Parity (None)",
                                        "Stop Bits (1)",
                                        "Flow Control (Hardware)"};

std::string PortHelpText() {
    std::string out;
    for (const char* line : kPortHelpLines) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

} // namespace r470
