// Sending one 2048-sample memory over a pseudo-terminal with the real clock: wall time
// against the pacing floor of one millisecond per byte, and the sender's CPU time.
#include "instrument/data_transfer.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "shell/prompts.h"
#include "waveform/synth.h"
#include "waveform/waveform_set.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <ctime>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace r470;

struct QuietPrompts : Prompts {
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override { return IdOk; }
    int ShowMsgWindow(const std::string&) override { return IdOk; }
    void Beep() override {}
};
struct NoView : TransferView {
    void SetMessage(const std::string&) override {}
    void SetButtons(bool, bool) override {}
    void SetProgressMax(int) override {}
    void SetProgress(int) override {}
};

double ThreadCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void BM_SendOneFullMemory(benchmark::State& state) {
    SimPty pty;
    if (pty.Open() != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    PortMap map;
    map.Set(5, pty.PortPath());
    TermiosPort port(map);
    SteadyClock clock;
    QuietPrompts prompts;
    NoView view;
    WaveformSet set;
    set.Slot(1).data = Synthesize(SynthOptions{});
    set.Slot(1).Loaded = set.Slot(1).SlotMarked = true;
    std::array<int, 5> memories{0, 1, 0, 0, 0};

    std::atomic<bool> stop{false};
    std::atomic<long> drained{0};
    std::thread reader([&] { // the instrument's end, reading as it comes
        std::uint8_t buf[4096];
        while (!stop) {
            pollfd p{pty.Fd(), POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                ssize_t n = ::read(pty.Fd(), buf, sizeof buf);
                if (n > 0)
                    drained += n;
            }
        }
    });
    double wall = 0, cpu = 0;
    long bytes = 0;
    for (auto _ : state) {
        DataTransfer t(port, clock, prompts, view);
        t.TransferMode = ModeSend;
        t.CommPort = 5;
        t.SetExport(set, memories);
        t.FormShow();
        double c0 = ThreadCpuSeconds();
        std::int64_t w0 = clock.NowUs();
        int r = t.StartClick();
        wall += static_cast<double>(clock.NowUs() - w0) / 1e6;
        cpu += ThreadCpuSeconds() - c0;
        bytes += t.ExpectedLength + 6;
        if (r != IdOk)
            state.SkipWithError("send failed");
    }
    stop = true;
    reader.join();
    const double floor = static_cast<double>(bytes) * 1e-3;
    state.counters["bytes_per_send"] = static_cast<double>(bytes) / state.iterations();
    state.counters["wall_over_floor"] = wall / floor;
    state.counters["cpu_over_wall"] = cpu / wall;
}
BENCHMARK(BM_SendOneFullMemory)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
