// Waveforms of one cable for the archive's tests: healthy, the same again with new noise,
// and with a new fault; each as the bytes of its file.
#pragma once

#include "archive/cable_archive.h"
#include "support/temp_dir.h"
#include "waveform/synth.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace r470::test {

// The lossy cable with an open end at 900 ns; `faultAt` > 0 adds a short-like fault there.
inline TraceData CableTrace(unsigned seed, double faultAt = 0, const std::string& id = "FEEDER 1",
                            const std::string& date = "08/12/2026") {
    SynthOptions o;
    o.faultAtNs = 900;
    o.lossDbPerUs = 20;
    o.noise = 0.5;
    o.seed = seed;
    o.cableId = id;
    if (faultAt > 0)
        o.reflections.push_back({faultAt, -0.3});
    TraceData t = Synthesize(o);
    t.notes.Date = date;
    return t;
}

inline std::vector<std::uint8_t> FileBytes(const TraceData& t) {
    VectorSink sink;
    WriteTrace(sink, t);
    return sink.data;
}

inline FilingRequest Filing(const TraceData& t, const std::string& name = "T.KEL") {
    FilingRequest r;
    r.bytes = FileBytes(t);
    r.fileName = name;
    return r;
}

class ArchiveFixture : public ::testing::Test {
  protected:
    std::unique_ptr<CableArchive> OpenDb(const ArchiveOpenOptions& o = {}) {
        std::string error;
        auto a = CableArchive::Open(db, error, o);
        EXPECT_TRUE(a) << error;
        return a;
    }
    // Files one batch and gives the tests' numbers.
    std::vector<std::int64_t> FileAll(CableArchive& a, const std::vector<FilingRequest>& batch) {
        std::vector<FilingOutcome> out;
        EXPECT_TRUE(a.File(batch, out)) << a.Error();
        std::vector<std::int64_t> tests;
        for (const FilingOutcome& o : out)
            tests.push_back(o.test);
        return tests;
    }

    TempDir dir;
    std::string db = dir.Path("archive.sqlite");
};

} // namespace r470::test
