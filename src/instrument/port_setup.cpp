#include "instrument/port_setup.h"

#include "waveform/trace_info.h"

#include <algorithm>
#include <span>

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
        // On Windows the device is the number's own name: said once.
        const std::string name = "COM" + std::to_string(p.portNo);
        lines.push_back(name + (p.device == name ? "" : "  " + p.device) +
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

namespace {

// Lines joined by carriage return and line feed, after `out` when it holds some.
std::string JoinLines(std::span<const char* const> lines, std::string out = {}) {
    for (const char* line : lines) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

} // namespace

std::string DeviceManagerHelpText() {
    return JoinLines(kPortHelpLines);
}

std::string LinuxPortHelpText(bool modemServiceRuns) {
    static const char* const kLines[] = {
        "Permission",
        "Serial ports belong to the group \"dialout\". Join it once with",
        "    sudo usermod -aG dialout $USER",
        "then log out and in again: the group counts from the next login.",
        "",
        "Finding the adapter",
        "A USB serial adapter appears as /dev/ttyUSB0 (or /dev/ttyACM0) when it is",
        "plugged in, and under a name of its own in /dev/serial/by-id/.",
        "\"tdrtool ports\" in a terminal lists the ports and why one cannot be",
        "used; this window shows the same under the list.",
        "To keep an adapter's number in any USB socket, add a line such as",
        "    COM7=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0",
        "under [Ports] in ~/.config/R470.INI, then press the refresh button.",
        "",
        "Port settings",
        "Nothing to set: the program sets 4800 baud, 8 data bits, no parity,",
        "1 stop bit and the flow control (none, DTR and RTS on) itself.",
    };
    static const char* const kModemLines[] = {
        "",
        "ModemManager",
        "ModemManager runs here: it may take a newly plugged adapter for a modem",
        "and hold it for a while. Stop it with",
        "    sudo systemctl stop ModemManager",
        "or, on a computer without a modem, keep it off for good:",
        "    sudo systemctl disable --now ModemManager",
    };
    std::string text = JoinLines(kLines);
    return modemServiceRuns ? JoinLines(kModemLines, text) : text;
}

} // namespace r470
