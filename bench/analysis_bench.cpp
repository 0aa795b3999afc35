// How long the analysis of one 2048-sample waveform takes: its events, and the comparison
// with a reference on the same grid and on a grid twice as coarse. Target: 1 ms median each.
#include "analysis/first_change.h"
#include "analysis/trace_events.h"
#include "waveform/synth.h"

#include <benchmark/benchmark.h>

namespace {

// A lossy cable with three faults and an open end, noise 1.5 counts.
r470::SynthOptions Cable(unsigned seed) {
    r470::SynthOptions o;
    o.faultAtNs = 900;
    o.lossDbPerUs = 30;
    o.noise = 1.5;
    o.seed = seed;
    o.reflections = {{200, -0.2}, {450, 0.15}, {650, -0.1}};
    return o;
}

void BM_EventsOf2048Samples(benchmark::State& state) {
    const r470::TraceData t = r470::Synthesize(Cable(1));
    for (auto _ : state) {
        r470::TraceAnalysis a = r470::AnalyseTrace(t);
        benchmark::DoNotOptimize(a.events.data());
    }
}
BENCHMARK(BM_EventsOf2048Samples)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_FirstChangeAgainstReference(benchmark::State& state) {
    r470::SynthOptions now = Cable(2);
    now.reflections.push_back({550, -0.25});
    r470::SynthOptions before = Cable(1);
    if (state.range(0) == 2) {
        before.intervalPs *= 2;
        before.samples /= 2;
    }
    const r470::TraceData a = r470::Synthesize(now), b = r470::Synthesize(before);
    for (auto _ : state) {
        r470::FirstChange c = r470::CompareWithReference(a, b);
        benchmark::DoNotOptimize(c.onsetNs);
    }
}
BENCHMARK(BM_FirstChangeAgainstReference)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
