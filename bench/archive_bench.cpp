// The cable archive's costs: filing 3,000 waveform files against reading them as
// `tdrtool info --json` does, listing one cable among 100,000 tests, the browser's first
// page, and the database's size against the waveforms' own bytes.
#include "analysis/trace_events.h"
#include "archive/archive_schema.h"
#include "archive/cable_archive.h"
#include "archive/sha256.h"
#include "archive/sqlite_db.h"
#include "archive/waveform_facts.h"
#include "common/file_io.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> FileBytes(const r470::TraceData& t) {
    r470::VectorSink sink;
    r470::WriteTrace(sink, t);
    return sink.data;
}

// 3,000 waveform files of 300 cables, ten tests each, every third with a new fault.
struct Folder {
    fs::path dir = fs::temp_directory_path() / ("r470-archive-bench-" + std::to_string(getpid()));
    std::vector<std::string> files;
    std::uintmax_t bytes = 0;
    Folder() {
        fs::create_directories(dir);
        for (int i = 0; i < 3000; ++i) {
            r470::SynthOptions o;
            o.cableId = "CABLE " + std::to_string(i / 10);
            o.seed = static_cast<unsigned>(i + 1);
            o.faultAtNs = 600 + (i / 10) % 7 * 50;
            o.lossDbPerUs = 20;
            o.noise = 0.5;
            if (i % 10 >= 7)
                o.reflections.push_back({300, -0.3});
            auto b = FileBytes(r470::Synthesize(o));
            std::string path = (dir / ("W" + std::to_string(i) + ".KEL")).string();
            r470::WriteFileBytes(path, b);
            files.push_back(path);
            bytes += b.size();
        }
    }
    ~Folder() { fs::remove_all(dir); }
};

Folder& Files() {
    static Folder f;
    return f;
}

void BM_Info3000(benchmark::State& state) {
    const Folder& folder = Files();
    for (auto _ : state) {
        std::size_t out = 0;
        for (const std::string& f : folder.files) {
            r470::TraceData t;
            int s = r470::ReadTraceFile(f, t);
            out += r470::TraceInfoJson(f, s, &t).size();
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Info3000)->Unit(benchmark::kMillisecond);

// The part of filing that is the first-change analysis of each waveform against its cable's
// baseline (the first of each ten), which filing runs once per waveform.
void BM_FirstChange3000(benchmark::State& state) {
    const Folder& folder = Files();
    std::vector<r470::TraceData> traces(folder.files.size());
    for (std::size_t i = 0; i < traces.size(); ++i)
        r470::ReadTraceFile(folder.files[i], traces[i]);
    for (auto _ : state) {
        int found = 0;
        for (std::size_t i = 0; i < traces.size(); ++i)
            found += i % 10 ? r470::ChangeSinceBaseline(traces[i], traces[i - i % 10]).kind
                            : static_cast<int>(r470::AnalyseTrace(traces[i]).events.size());
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FirstChange3000)->Unit(benchmark::kMillisecond);

void BM_ImportFolder3000(benchmark::State& state) {
    const Folder& folder = Files();
    std::string db = (folder.dir / "bench.sqlite").string();
    double ratio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* end : {"", "-wal", "-shm"})
            fs::remove(db + end);
        state.ResumeTiming();
        std::vector<r470::FilingRequest> batch;
        for (const std::string& f : folder.files) {
            r470::FilingRequest r;
            r470::ReadFileForFiling(f, r.bytes);
            r.fileName = r470::BaseName(f);
            batch.push_back(std::move(r));
        }
        std::string error;
        auto a = r470::CableArchive::Open(db, error);
        std::vector<r470::FilingOutcome> out;
        if (!a || !a->File(batch, out))
            state.SkipWithError("filing failed");
        a.reset(); // the last connection checkpoints the WAL into the file
        state.PauseTiming();
        ratio = double(fs::file_size(db)) / double(folder.bytes);
        state.ResumeTiming();
    }
    state.counters["db_size_ratio"] = ratio;
}
BENCHMARK(BM_ImportFolder3000)->Unit(benchmark::kMillisecond)->Iterations(2);

// 100,000 tests of 1,000 cables, written straight into the tables: the listing is timed,
// not the filing.
std::string& BigArchive() {
    static std::string db = [] {
        std::string path = (Files().dir / "big.sqlite").string();
        std::string error;
        auto a = r470::CableArchive::Open(path, error);
        a.reset();
        r470::SqliteDb raw;
        raw.Open(path, false, false);
        raw.Exec("PRAGMA foreign_keys = ON; BEGIN");
        auto bytes = FileBytes(r470::Synthesize({}));
        for (int c = 0; c < 1000; ++c) {
            r470::SqliteStatement cable(raw, "INSERT INTO cables (site, cable) VALUES (?1, ?2)");
            cable.Bind(1, std::string("SITE ") + std::to_string(c % 20))
                .Bind(2, "CABLE " + std::to_string(c))
                .Run();
            std::int64_t row = raw.LastInsertId();
            for (int t = 0; t < 100; ++t) {
                bytes[200] = std::uint8_t(t);
                bytes[201] = std::uint8_t(c);
                bytes[202] = std::uint8_t(c >> 8);
                r470::SqliteStatement test(
                    raw, "INSERT INTO tests (cable, test_date, test_time, filed, sha256, size, "
                         "change_kind, mem_no, events) VALUES (?1, ?2, '10:00:00', "
                         "'2026-01-01T00:00:00Z', ?3, ?4, 1, 1, 2)");
                test.Bind(1, row)
                    .Bind(2, "2026-" + std::string(t % 12 < 9 ? "0" : "") +
                                 std::to_string(t % 12 + 1) + "-01")
                    .Bind(3, r470::Sha256Hex(bytes))
                    .Bind(4, std::int64_t(bytes.size()))
                    .Run();
                r470::SqliteStatement w(raw, "INSERT INTO waveforms (test, bytes) VALUES (?1, ?2)");
                w.Bind(1, raw.LastInsertId()).Bind(2, std::span<const std::uint8_t>(bytes)).Run();
            }
            raw.Exec("UPDATE cables SET baseline = (SELECT min(id) FROM tests WHERE cable = " +
                     std::to_string(row) + ") WHERE id = " + std::to_string(row));
        }
        raw.Exec("COMMIT");
        return path;
    }();
    return db;
}

void BM_ListOneCableOf100k(benchmark::State& state) {
    std::string error;
    auto a = r470::CableArchive::Open(BigArchive(), error);
    int c = 0;
    for (auto _ : state) {
        r470::ArchiveFilter f;
        f.site = "SITE " + std::to_string(c % 20);
        f.cable = "CABLE " + std::to_string(c);
        c = (c + 37) % 1000;
        auto tests = a->List(f);
        if (tests.size() != 100)
            state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_ListOneCableOf100k)->Unit(benchmark::kMillisecond);

// What the browser asks for before it shows anything: the cables, and its first page of tests.
void BM_BrowserFirstPageOf100k(benchmark::State& state) {
    std::string error;
    auto a = r470::CableArchive::Open(BigArchive(), error);
    for (auto _ : state) {
        auto cables = a->Cables();
        r470::ArchiveFilter f;
        f.limit = 200;
        auto tests = a->List(f);
        benchmark::DoNotOptimize(cables);
        benchmark::DoNotOptimize(tests);
    }
}
BENCHMARK(BM_BrowserFirstPageOf100k)->Unit(benchmark::kMillisecond);

} // namespace
