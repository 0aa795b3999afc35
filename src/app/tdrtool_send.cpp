// tdrtool send: waveform files into instrument memories, paced as the export sends them.
#include "app/tdrtool_link.h"
#include "instrument/port_release.h"
#include "shell/console_prompts.h"

namespace tdrtool {

std::string SendHelp() {
    return "Usage: tdrtool send (--port N | --device PATH) FILE:MEM...\n"
           "Sends up to four waveform files in one transmission, each into instrument memory\n"
           "MEM (1 to 48), in the order given (press RS232 then 3 on the instrument, then\n"
           "START, first). One byte at a time, each after the line has taken the one before.\n"
           "--port N is a COM number 1 to 256. A signal (Ctrl-C, SIGTERM, SIGHUP, SIGQUIT)\n"
           "cancels and frees the port; the exit status is then 128 + the signal.\n";
}

int RunSend(const Args& args) {
    PortChoice port;
    Args items;
    std::optional<int> end = ReadArgs(
        args, SendHelp(), &items,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            auto value = r.Value();
            if (!value || value->empty())
                return UsageError("send", "\"" + name + "\" needs a value", SendHelp());
            if (name == "--port") {
                auto n = ParsePort(*value);
                if (!n)
                    return UsageError("send", "bad port \"" + *value + "\" (1 to 256)", SendHelp());
                port.portNo = *n;
            } else if (name == "--device") {
                port.device = *value;
            } else {
                return UsageError("send", "unknown option \"" + name + "\"", SendHelp());
            }
            return std::nullopt;
        });
    if (end)
        return *end;
    if (port.portNo == 0 && port.device.empty())
        return UsageError("send", "--port N or --device PATH is required", SendHelp());
    if (items.empty())
        return UsageError("send", "no FILE:MEM given", SendHelp());
    if (std::string problem = ExportItemsProblem(items); !problem.empty())
        return UsageError("send", problem, SendHelp());
    r470::WaveformSet set;
    std::array<int, 5> memories{};
    if (std::string problem = LoadExport(items, set, memories); !problem.empty()) {
        std::cerr << "tdrtool send: " << problem << "\n";
        return kExitFailed;
    }

    r470::SystemPort serial(MapFor(port));
    r470::SteadyClock clock;
    r470::ConsolePrompts prompts(std::cerr);
    StderrProgress progress;
    r470::DataTransfer t(serial, clock, prompts, progress);
    t.TransferMode = r470::ModeSend;
    t.CommPort = static_cast<std::int16_t>(NumberFor(port));
    t.SetExport(set, memories);
    r470::ReleasePortsOnSignals("tdrtool send: cancelled\n");
    t.FormShow();
    int result = t.StartClick();
    progress.End();
    return result == r470::IdOk ? kExitOk : kExitFailed;
}

} // namespace tdrtool
