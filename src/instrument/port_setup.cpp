#include "instrument/port_setup.h"

#include "waveform/trace_info.h"

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

std::vector<std::string> PortProbeLines(const PortProbe& p) {
    std::vector<std::string> lines;
    if (p.usable) {
        lines.push_back("COM" + std::to_string(p.portNo) + "  " + p.device +
                        (p.description.empty() ? "" : ": " + p.description));
    } else {
        std::string number = p.portNo > 0 ? " (" + std::to_string(p.portNo) + ")" : "";
        lines.push_back(p.device + number + ": " + p.reason);
        if (!p.description.empty())
            lines.push_back("    " + p.description);
    }
    if (!p.byId.empty())
        lines.push_back("    " + p.byId);
    return lines;
}

std::string PortInfoHeading(const std::vector<PortProbe>& probes) {
    if (probes.empty())
        return "No serial device found.";
    return UnusablePorts(probes).empty() ? "Serial devices:"
                                         : "Serial devices (some you cannot use now):";
}

std::string PortInfoText(const std::vector<PortProbe>& probes) {
    std::string text;
    for (bool usable : {true, false}) {
        for (const PortProbe& p : probes) {
            if (p.usable != usable)
                continue;
            for (const std::string& line : PortProbeLines(p))
                text += (text.empty() ? "" : "\n") + line;
        }
    }
    return text;
}

std::string PortProbeJson(const PortProbe& p) {
    auto text = [](const std::string& s) { return s.empty() ? "null" : JsonQuoteFileName(s); };
    return "{\"number\": " + (p.portNo > 0 ? std::to_string(p.portNo) : "null") +
           ", \"device\": " + JsonQuoteFileName(p.device) + ", \"by_id\": " + text(p.byId) +
           ", \"description\": " + text(p.description) +
           ", \"usable\": " + (p.usable ? "true" : "false") + ", \"reason\": " + text(p.reason) +
           "}";
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
