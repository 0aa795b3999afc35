// How long a full 2048-sample waveform takes to read from memory and to save to disk.
#include "common/file_io.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::uint8_t> FileBytes(const r470::TraceData& t) {
    struct Collect : r470::ByteSink {
        std::vector<std::uint8_t> bytes;
        int Write(std::span<const std::uint8_t> b) override {
            bytes.insert(bytes.end(), b.begin(), b.end());
            return 0;
        }
    } sink;
    r470::WriteTrace(sink, t);
    return sink.bytes;
}

void BM_ReadTraceFromMemory(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = FileBytes(r470::Synthesize({}));
    for (auto _ : state) {
        r470::MemorySource in(bytes);
        r470::TraceData t;
        int s = r470::ReadTrace(in, t);
        if (s != r470::LoadOk)
            state.SkipWithError("the waveform did not load");
        benchmark::DoNotOptimize(t);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadTraceFromMemory);

void BM_WriteTraceFileSafely(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("trace_file_bench_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "BENCH.KEL").string();
    const r470::TraceData t = r470::Synthesize({});
    for (auto _ : state) {
        int e = r470::WriteFileSafely(
            path, [&](r470::ByteSink& out) { return r470::WriteTrace(out, t); });
        if (e != 0)
            state.SkipWithError("the waveform could not be written");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
    fs::remove_all(dir);
}
BENCHMARK(BM_WriteTraceFileSafely)->Unit(benchmark::kMicrosecond);

} // namespace
