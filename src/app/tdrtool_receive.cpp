// tdrtool receive: one transmission from the instrument into a capture file.
#include "app/tdrtool_link.h"
#include "common/cp1252.h"
#include "instrument/port_release.h"
#include "shell/console_prompts.h"

#include <cstdint>

namespace tdrtool {

std::string ReceiveHelp() {
    return "Usage: tdrtool receive (--port N | --device PATH) [--out FILE] [--timeout S]\n"
           "Waits for one transmission (press RS232 then 2 on the instrument), polling every\n"
           "100 ms as the window does, and writes it whole to FILE (default buffer.dat).\n"
           "Progress goes to standard error. Ctrl-C (or SIGTERM, SIGHUP, SIGQUIT) cancels,\n"
           "frees the port and leaves no file; the exit status is then 128 + the signal.\n"
           "--port N is a COM number 1 to 256 (see tdrtool ports); the INI file's [Ports]\n"
           "section can map it.\n"
           "--timeout S gives up after S seconds without a complete transmission (exit 1),\n"
           "for scripts; without it the wait lasts until Ctrl-C, as in the window.\n";
}

int RunReceive(const Args& args) {
    PortChoice port;
    std::string out = "buffer.dat";
    std::optional<double> timeoutS;
    std::optional<int> end = ReadArgs(
        args, ReceiveHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            auto value = r.Value();
            if (!value || value->empty())
                return UsageError("receive", "\"" + name + "\" needs a value", ReceiveHelp());
            if (name == "--port") {
                auto n = ParsePort(*value);
                if (!n)
                    return UsageError("receive", "bad port \"" + *value + "\" (1 to 256)",
                                      ReceiveHelp());
                port.portNo = *n;
            } else if (name == "--device") {
                port.device = *value;
            } else if (name == "--out") {
                out = *value;
            } else if (name == "--timeout") {
                timeoutS = ParseNumber<double>(*value, 0.1, 86400.0);
                if (!timeoutS)
                    return UsageError("receive", "bad timeout \"" + *value + "\" (0.1 to 86400 s)",
                                      ReceiveHelp());
            } else {
                return UsageError("receive", "unknown option \"" + name + "\"", ReceiveHelp());
            }
            return std::nullopt;
        });
    if (end)
        return *end;
    if (port.portNo == 0 && port.device.empty())
        return UsageError("receive", "--port N or --device PATH is required", ReceiveHelp());

    r470::SystemPort serial(MapFor(port));
    r470::SteadyClock clock;
    r470::ConsolePrompts prompts(std::cerr);
    StderrProgress progress;
    r470::DataTransfer t(serial, clock, prompts, progress);
    t.TransferMode = r470::ModeReceive;
    t.CommPort = static_cast<std::int16_t>(NumberFor(port));
    t.BufferFile = out;

    r470::ReleasePortsOnSignals("tdrtool receive: cancelled\n");
    t.FormShow();
    int result = t.StartClick();
    std::int64_t next = clock.NowUs();
    const std::int64_t deadline =
        timeoutS ? next + static_cast<std::int64_t>(*timeoutS * 1e6) : INT64_MAX;
    while (result == r470::kTransferRunning) {
        next += r470::kPollIntervalMs * 1000;
        clock.SleepUntilUs(next);
        if (clock.NowUs() >= deadline) {
            result = t.Abandon();
            progress.End();
            std::cerr << "tdrtool receive: no complete transmission within the timeout\n";
            return kExitFailed;
        }
        result = t.TimerTimer();
    }
    progress.End();
    if (result != r470::IdOk)
        return kExitFailed;
    std::cout << t.ReceivedCount << " bytes written to " << out << "\n";
    return kExitOk;
}

} // namespace tdrtool
