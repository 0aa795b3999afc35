// The import's two passes over a transmission of all 48 memories of the simulated
// instrument, checked and written to memory.
#include "instrument/import.h"
#include "instrument/instrument_sim.h"
#include "shell/prompts.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

class Quiet : public r470::Prompts {
  public:
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override {
        return r470::IdYes;
    }
    int ShowMsgWindow(const std::string&) override { return r470::IdOk; }
    void Beep() override {}
};

std::vector<std::uint8_t> FullTransmission() {
    r470::SimulatedInstrument sim;
    std::vector<int> list;
    for (int n = 1; n <= 48; ++n)
        list.push_back(n);
    return sim.EncodeSend(list, r470::ExtensionMode::Mixed);
}

void BM_CheckTransmission(benchmark::State& state) {
    auto bytes = FullTransmission();
    auto notes = std::make_unique<r470::ImportNotes>();
    Quiet q;
    for (auto _ : state) {
        r470::MemoryFlags received{};
        benchmark::DoNotOptimize(r470::CheckTransmission(bytes, *notes, received, q));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CheckTransmission);

void BM_SaveTransmissionToMemory(benchmark::State& state) {
    auto bytes = FullTransmission();
    auto notes = std::make_unique<r470::ImportNotes>();
    Quiet q;
    r470::MemoryFlags received{};
    r470::CheckTransmission(bytes, *notes, received, q);
    r470::FileWriter toMemory = [](const std::string&,
                                   const std::function<int(r470::ByteSink&)>& body) {
        r470::VectorSink sink;
        return body(sink);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(r470::SaveTransmission(
            bytes, *notes, received, "/nowhere/B.KEL", q, [](const std::string&) { return ""; },
            toMemory));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SaveTransmissionToMemory);

} // namespace
