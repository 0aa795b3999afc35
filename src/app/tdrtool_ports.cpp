// tdrtool ports: the COM numbers that can be opened now, which adapter each is, and why
// other serial devices cannot be used.
#include "app/tdrtool_link.h"
#include "instrument/port_probe.h"
#include "instrument/port_release.h"
#include "instrument/port_setup.h"
#include "instrument/slow_step.h"

namespace tdrtool {

std::string PortsHelp() {
    return "Usage: tdrtool ports [--json]\n"
           "Lists the COM numbers that can be opened now with their devices (1-32 /dev/ttyS*,\n"
           "33-64 /dev/ttyUSB*, 65-96 /dev/ttyACM*, or the INI file's [Ports] lines such as\n"
           "COM7=/dev/pts/3 or COM7=/dev/serial/by-id/NAME), each with its adapter (USB\n"
           "maker, product and serial number, or \"built-in port\") and its stable name under\n"
           "/dev/serial/by-id; then the serial devices that cannot be opened and why, naming\n"
           "the program that holds a busy one.\n"
           "  --json   one JSON object per device and line: number (or null), device, by_id,\n"
           "           description, usable, reason\n";
}

int RunPorts(const Args& args) {
    bool json = false;
    std::optional<int> end = ReadArgs(
        args, PortsHelp(), nullptr,
        [&](const std::string& name, OptionReader&) -> std::optional<int> {
            if (name != "--json")
                return UsageError("ports", "unknown argument \"" + name + "\"", PortsHelp());
            json = true;
            return std::nullopt;
        });
    if (end)
        return *end;
    r470::ReleasePortsOnSignals("tdrtool ports: cancelled\n");
    r470::SystemPort port(IniPortMap());
    std::vector<r470::PortProbe> probes;
    {
        // A port that holds its open (a switched-off Bluetooth one) is named, not waited on
        // in silence.
        r470::SlowStepWatch watch(std::chrono::seconds(1), [](const std::string& device) {
            std::cerr << "tdrtool ports: waiting for " << device << " to open...\n";
        });
        probes = r470::ProbePorts(port, [&](const std::string& device) { watch.Step(device); });
    }
    if (json) {
        for (const auto& p : probes)
            std::cout << r470::PortProbeJson(p) << "\n";
        return std::cout.flush() ? kExitOk : kExitFailed;
    }
    bool any = false;
    for (const auto& p : probes) {
        if (p.usable) {
            for (const std::string& line : r470::PortProbeLines(p))
                std::cout << line << "\n";
            any = true;
        }
    }
    if (!any)
        std::cout << "No COM port can be opened now.\n";
    for (const auto& p : probes) {
        if (!p.usable) {
            std::vector<std::string> lines = r470::PortProbeLines(p);
            std::cout << "not usable: " << lines.front() << "\n";
            for (std::size_t i = 1; i < lines.size(); ++i)
                std::cout << lines[i] << "\n";
        }
    }
    return kExitOk;
}

} // namespace tdrtool
