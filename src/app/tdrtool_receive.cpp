// tdrtool receive: one transmission from the instrument into a capture file.
#include "app/tdrtool_link.h"
#include "common/cp1252.h"
#include "shell/console_prompts.h"

#include <csignal>

namespace tdrtool {
namespace {
volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) {
    gInterrupted = 1;
}
} // namespace

std::string ReceiveHelp() {
    return "Usage: tdrtool receive (--port N | --device PATH) [--out FILE]\n"
           "Waits for one transmission (press RS232 then 2 on the instrument), polling every\n"
           "100 ms as the window does, and writes it whole to FILE (default buffer.dat).\n"
           "Progress goes to standard error. Ctrl-C cancels and leaves no file. --port N is\n"
           "a COM number (see tdrtool ports); the INI file's [Ports] section can map it.\n";
}

int RunReceive(const Args& args) {
    PortChoice port;
    std::string out = "buffer.dat";
    std::optional<int> end = ReadArgs(
        args, ReceiveHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            auto value = r.Value();
            if (!value || value->empty())
                return UsageError("receive", "\"" + name + "\" needs a value", ReceiveHelp());
            if (name == "--port") {
                auto n = ParseNumber<int>(*value);
                if (!n)
                    return UsageError("receive", "bad port \"" + *value + "\"", ReceiveHelp());
                port.portNo = *n;
            } else if (name == "--device") {
                port.device = *value;
            } else if (name == "--out") {
                out = *value;
            } else {
                return UsageError("receive", "unknown option \"" + name + "\"", ReceiveHelp());
            }
            return std::nullopt;
        });
    if (end)
        return *end;
    if (port.portNo == 0 && port.device.empty())
        return UsageError("receive", "--port N or --device PATH is required", ReceiveHelp());

    r470::TermiosPort serial(MapFor(port));
    r470::SteadyClock clock;
    r470::ConsolePrompts prompts(std::cerr);
    StderrProgress progress;
    r470::DataTransfer t(serial, clock, prompts, progress);
    t.TransferMode = r470::ModeReceive;
    t.CommPort = static_cast<std::int16_t>(NumberFor(port));
    t.BufferFile = out;

    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    t.FormShow();
    int result = t.StartClick();
    std::int64_t next = clock.NowUs();
    while (result == r470::kTransferRunning) {
        next += r470::kPollIntervalMs * 1000;
        clock.SleepUntilUs(next);
        if (gInterrupted) {
            result = t.Abandon();
            progress.End();
            std::cerr << "tdrtool receive: cancelled\n";
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
