#include "waveform/synth.h"

#include "common/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <numeric>
#include <unistd.h>
#include <vector>

namespace r470 {
namespace {

constexpr int kBase = 128;
constexpr int kNoise = 2;

std::vector<std::uint8_t> Encoded(const TraceData& t) {
    VectorSink sink;
    EXPECT_EQ(WriteTrace(sink, t), 0);
    return sink.data;
}

// The largest departure from the baseline in [from, to), with its sign: positive is up on
// the screen, which draws larger samples lower.
int PeakDeviation(const TraceData& t, int from, int to) {
    int best = 0;
    for (int i = from; i < to; ++i) {
        int d = kBase - t.samples[static_cast<std::size_t>(i)];
        if (std::abs(d) > std::abs(best))
            best = d;
    }
    return best;
}

// First sample at or after `from` that stands clearly out of the noise.
int FirstDeparture(const TraceData& t, int from) {
    for (int i = from; i < t.header.SampleCount; ++i)
        if (std::abs(t.samples[static_cast<std::size_t>(i)] - kBase) > 3 * kNoise)
            return i;
    return -1;
}

// Samples more than half the peak away from the baseline, in [from, to).
int WidthAtHalf(const TraceData& t, int from, int to) {
    int peak = std::abs(PeakDeviation(t, from, to));
    int n = 0;
    for (int i = from; i < to; ++i)
        n += std::abs(t.samples[static_cast<std::size_t>(i)] - kBase) * 2 > peak;
    return n;
}

TEST(Synth, SameOptionsGiveTheSameBytesAndTheSeedOnlyChangesTheNoise) {
    SynthOptions o;
    EXPECT_EQ(Encoded(Synthesize(o)), Encoded(Synthesize(o)));

    SynthOptions other = o;
    other.seed = 2;
    TraceData a = Synthesize(o), b = Synthesize(other);
    EXPECT_NE(a.samples, b.samples);
    EXPECT_EQ(a.header, b.header);
    // Noise only: every sample stays within two noise amplitudes of the other seed's.
    for (std::size_t i = 0; i < kMaxSamples; ++i)
        ASSERT_LE(std::abs(a.samples[i] - b.samples[i]), 2 * kNoise) << "sample " << i;

    // Seeds that a weak seeding would map to the same stream.
    other.seed = 0;
    SynthOptions big = o;
    big.seed = std::numeric_limits<unsigned>::max();
    EXPECT_NE(Synthesize(other).samples, Synthesize(big).samples);
    EXPECT_NE(Synthesize(other).samples, a.samples);
}

TEST(Synth, ReflectionLeavesTheBaselineAtTheFaultWithTheSignOfTheFault) {
    struct Case {
        SynthOptions::Fault fault;
        double atNs;
        int intervalPs;
        int sign;
    };
    for (Case c :
         {Case{SynthOptions::Open, 600, 500, +1}, Case{SynthOptions::Short, 600, 500, -1},
          Case{SynthOptions::Open, 333, 250, +1}, Case{SynthOptions::Short, 1200, 1000, -1}}) {
        SynthOptions o;
        o.fault = c.fault;
        o.faultAtNs = c.atNs;
        o.intervalPs = c.intervalPs;
        TraceData t = Synthesize(o);
        int fs = static_cast<int>(std::lround(c.atNs * 1000 / c.intervalPs));
        SCOPED_TRACE(testing::Message() << "fault " << c.fault << " at " << c.atNs << " ns");
        EXPECT_EQ(SynthFaultSample(o), fs);
        EXPECT_EQ(t.header.Cursor, fs + 1);

        // Quiet from the end of the launch pulse's tail up to the fault ...
        int quietFrom = static_cast<int>(80 * 1000 / c.intervalPs);
        EXPECT_LE(std::abs(PeakDeviation(t, quietFrom, fs)), kNoise);
        // ... then it departs within the reflection's rise, in the fault's direction.
        int departs = FirstDeparture(t, quietFrom);
        EXPECT_GE(departs, fs);
        EXPECT_LE(departs, fs + static_cast<int>(20.0 * 1000 / c.intervalPs));
        int peak = PeakDeviation(t, fs, t.header.SampleCount);
        EXPECT_EQ(peak > 0 ? 1 : -1, c.sign);
        EXPECT_GE(std::abs(peak), 15);
        // And nothing else follows it: the cable ends there.
        int after = fs + static_cast<int>(80.0 * 1000 / c.intervalPs);
        EXPECT_LE(std::abs(PeakDeviation(t, after, t.header.SampleCount)), kNoise);
    }
}

TEST(Synth, LaunchPulseRisesAtTheStartAndLastsThePulseWidth) {
    SynthOptions o;
    o.pulseWidthNs = 20;
    o.fault = SynthOptions::None;
    TraceData t = Synthesize(o);
    EXPECT_LE(std::abs(t.samples[0] - kBase), kNoise);
    // 0.5 ns a sample: the top spans 2 ns to 20 ns.
    for (std::size_t i = 4; i < 40; ++i)
        ASSERT_LT(t.samples[i], kBase - 60) << "sample " << i;
    EXPECT_GT(t.samples[50], kBase - 10);
    // Without a fault the rest is baseline and the cursor sits on the launch.
    EXPECT_LE(std::abs(PeakDeviation(t, 200, 2048)), kNoise);
    EXPECT_EQ(SynthFaultSample(o), -1);
    EXPECT_EQ(t.header.Cursor, 1);
    EXPECT_EQ(t.header.InstCursor, 1);
}

TEST(Synth, FartherFaultsReflectWeakerAndWider) {
    SynthOptions nearO, farO;
    nearO.faultAtNs = 300;
    farO.faultAtNs = 900;
    TraceData n = Synthesize(nearO), f = Synthesize(farO);
    int nearPeak = PeakDeviation(n, 500, 2048);
    int farPeak = PeakDeviation(f, 500, 2048);
    EXPECT_GT(nearPeak, farPeak + 10);
    EXPECT_GT(WidthAtHalf(f, 1700, 2048), WidthAtHalf(n, 500, 900) + 5);

    // A higher gain lifts the reflection too.
    SynthOptions loud = nearO;
    loud.gain = 5;
    EXPECT_GT(PeakDeviation(Synthesize(loud), 500, 2048), nearPeak + 10);
}

TEST(Synth, SamplesClipAtTheScaleInsteadOfWrappingAround) {
    SynthOptions o;
    o.gain = 20;
    o.fault = SynthOptions::Short;
    o.faultAtNs = 300;
    TraceData t = Synthesize(o);
    EXPECT_EQ(t.header.MaxSample, 255);
    for (std::size_t i = 4; i < 18; ++i)
        ASSERT_EQ(t.samples[i], 0) << "launch top, sample " << i;
    int fs = SynthFaultSample(o);
    for (int i = fs + 20; i < fs + 30; ++i)
        ASSERT_EQ(t.samples[static_cast<std::size_t>(i)], 255) << "short, sample " << i;

    // Samples past the count are left zero rather than holding stale data.
    SynthOptions few;
    few.samples = 100;
    few.fault = SynthOptions::None;
    TraceData shortTrace = Synthesize(few);
    EXPECT_EQ(shortTrace.header.SampleCount, 100);
    EXPECT_TRUE(std::all_of(shortTrace.samples.begin() + 100, shortTrace.samples.end(),
                            [](std::uint8_t s) { return s == 0; }));
}

TEST(Synth, HeaderCarriesTheOptions) {
    SynthOptions o;
    o.memNo = 7;
    o.gain = 4;
    o.diel = 712;
    o.pulseWidthNs = 25;
    o.cableId = "RING \xB5 MAIN";
    TraceData t = Synthesize(o);
    const TraceHeader& h = t.header;
    EXPECT_EQ(h.Signature, std::string("\x06KELTDR"));
    EXPECT_EQ(h.FileVersion, 2);
    EXPECT_EQ(h.Spare, 0x20);
    EXPECT_EQ(h.MemMarker, 'M');
    EXPECT_EQ(h.MemNo, 7);
    EXPECT_EQ(h.Gain, 4);
    EXPECT_EQ(h.SampleCount, 2048);
    EXPECT_EQ(h.InstDiel, 712);
    EXPECT_EQ(h.Diel, 712);
    EXPECT_EQ(h.PulseWidth, 25);
    EXPECT_EQ(h.ModeText.size(), 16u);
    EXPECT_EQ(h.ModeText.find_first_not_of(' '), 6u);
    EXPECT_EQ(h.MaxSample, 255);
    EXPECT_EQ(h.InstCableId, "RING \xB5 MAI");
    EXPECT_EQ(h.InstDate.size(), 6u);
    EXPECT_EQ(h.InstTime.size(), 6u);
    EXPECT_EQ(h.Machine1.size(), 6u);
    EXPECT_EQ(h.Machine2.size(), 6u);
    EXPECT_EQ(h.DispGain, 1);
    EXPECT_EQ(h.Filter, 'A');
    EXPECT_EQ(h.Impedance, 50);
    EXPECT_EQ(t.notes.CableId, "RING \xB5 MAIN");
    EXPECT_EQ(t.notes.Date, "08/12/2026");
    EXPECT_EQ(t.notes.Time.size(), 8u);
    EXPECT_NE(t.notes.MoreComments.find("\r\n"), std::string::npos);
}

TEST(Synth, IntervalIsSplitAtMultiplesOf65535) {
    struct Case {
        int ps, lo, hi;
    };
    for (Case c : {Case{500, 500, 0}, Case{65534, 65534, 0}, Case{65535, 0, 1},
                   Case{70000, 4465, 1}, Case{kSynthMaxIntervalPs, 65534, 255}}) {
        SynthOptions o;
        o.intervalPs = c.ps;
        o.fault = SynthOptions::None;
        TraceHeader h = Synthesize(o).header;
        EXPECT_EQ(h.SampleIntLo, c.lo) << c.ps;
        EXPECT_EQ(h.SampleIntHi, c.hi) << c.ps;
        EXPECT_DOUBLE_EQ(SampleIntervalNs(h), c.ps / 1000.0) << c.ps;
    }
}

TEST(Synth, CursorFollowsTheFaultAndFallsBackTo1024PastTheLastSample) {
    SynthOptions o;
    o.faultAtNs = 0;
    EXPECT_EQ(Synthesize(o).header.Cursor, 1);
    o.faultAtNs = 1023.5; // sample 2047, the last
    EXPECT_EQ(Synthesize(o).header.Cursor, 2048);
    o.faultAtNs = 1023.9; // rounds to sample 2048, one past the end
    TraceHeader h = Synthesize(o).header;
    EXPECT_EQ(h.Cursor, 1024);
    EXPECT_EQ(h.InstCursor, 1024);
    o.samples = 1000;
    o.faultAtNs = 499.9; // rounds to 1000: past the trace but still a sample number
    EXPECT_EQ(Synthesize(o).header.Cursor, 1001);
}

TEST(Synth, CommentsDescribeTheFaultAndFitTheirFields) {
    SynthOptions o;
    o.fault = SynthOptions::Short;
    o.faultAtNs = 1200;
    o.intervalPs = 1000;
    TraceNotes n = Synthesize(o).notes;
    EXPECT_EQ(n.Comments[1], "Short circuit at 1200 ns");
    // 1200 ns two-way at PVF 0.66: 600 ns x 0.2998 m/ns x 0.66.
    EXPECT_EQ(n.Comments[2], "About 118.7 m (389.5 ft) at PVF 0.660");
    EXPECT_EQ(n.Comments[3], "Gain 3, pulse 10 ns, interval 1 ns");

    // The largest values still fit, so nothing is silently cut.
    o.intervalPs = kSynthMaxIntervalPs;
    o.faultAtNs = 34000000;
    o.diel = 999;
    o.pulseWidthNs = 65535;
    o.gain = 65535;
    o.memNo = 48;
    o.seed = std::numeric_limits<unsigned>::max();
    ASSERT_EQ(SynthOptionsError(o), "");
    n = Synthesize(o).notes;
    EXPECT_TRUE(n.Comments[2].ends_with("at PVF 0.999")) << n.Comments[2];
    EXPECT_TRUE(n.Comments[3].ends_with("interval 16776.959 ns")) << n.Comments[3];
    EXPECT_TRUE(n.Comments[4].ends_with("seed 4294967295")) << n.Comments[4];
    o.fault = SynthOptions::None;
    EXPECT_EQ(Synthesize(o).notes.Comments[1], "No fault: the far end is matched");
}

TEST(Synth, ALossyCablesNotesSayWhatWasMade) {
    struct Case {
        const char* what;
        SynthOptions::Fault fault;
        std::vector<LineReflection> reflections;
        double loss, noise;
        const char* comment2;
        std::vector<const char*> inNote;
    };
    std::vector<LineReflection> many;
    for (int k = 1; k <= 10; ++k)
        many.push_back({100.0 * k, 0.05});
    const Case cases[] = {
        {"reflections, no fault",
         SynthOptions::None,
         {{700, 0.1}, {583, -0.2}},
         0,
         -1,
         "Reflections at 583 ns (-0.2), 700 ns (0.1)",
         {"reflections of -0.2 at 583 ns (about 57.7 m), 0.1 at 700 ns", "far end matched",
          "no cable loss", "noise of 0.5 counts."}},
        {"a fault, a reflection, loss and noise",
         SynthOptions::Open,
         {{583, -0.2}},
         10,
         1,
         "About 89.4 m (293.4 ft) at PVF 0.660",
         {"a reflection of -0.2 at 583 ns", "far end open at 904 ns (about 89.4 m)",
          "loss of 10 dB per microsecond at 100 MHz", "noise of 1 count."}},
        {"more than a line holds: counted",
         SynthOptions::Short,
         many,
         0,
         -1,
         "About 89.4 m (293.4 ft) at PVF 0.660",
         {"; 10 reflections at 100 to 1000 ns;", "far end shorted at 904 ns"}},
        {"more than a line holds, no fault",
         SynthOptions::None,
         many,
         0,
         -1,
         "10 reflections, at 100 to 1000 ns",
         {"10 reflections at 100 to 1000 ns"}},
    };
    for (const Case& c : cases) {
        SynthOptions o;
        o.fault = c.fault;
        o.faultAtNs = 904;
        o.reflections = c.reflections;
        o.lossDbPerUs = c.loss;
        o.noise = c.noise;
        const TraceNotes n = Synthesize(o).notes;
        EXPECT_EQ(n.Comments[2], c.comment2) << c.what;
        for (const char* part : c.inNote)
            EXPECT_NE(n.MoreComments.find(part), std::string::npos)
                << c.what << ": " << part << " in " << n.MoreComments;
        EXPECT_EQ(n.MoreComments.find("a little converter noise"), std::string::npos) << c.what;
    }
}

TEST(Synth, OptionsOutsideTheRecordsAreRefusedWithAReason) {
    EXPECT_EQ(SynthOptionsError(SynthOptions{}), "");
    struct Case {
        SynthOptions o;
        const char* mentions; // empty: accepted
    };
    auto with = [](auto change) {
        SynthOptions o;
        change(o);
        return o;
    };
    const Case cases[] = {
        {with([](SynthOptions& o) { o.samples = 0, o.fault = SynthOptions::None; }), ""},
        {with([](SynthOptions& o) { o.samples = 0; }), "fault"},
        {with([](SynthOptions& o) { o.samples = -1; }), "samples"},
        {with([](SynthOptions& o) { o.samples = 2049; }), "samples"},
        {with([](SynthOptions& o) { o.intervalPs = 0; }), "interval"},
        {with([](SynthOptions& o) { o.intervalPs = 1, o.faultAtNs = 2; }), ""},
        {with([](SynthOptions& o) { o.intervalPs = kSynthMaxIntervalPs + 1; }), "interval"},
        {with([](SynthOptions& o) { o.diel = 299; }), "dielectric"},
        {with([](SynthOptions& o) { o.diel = 300; }), ""},
        {with([](SynthOptions& o) { o.diel = 999; }), ""},
        {with([](SynthOptions& o) { o.diel = 1000; }), "dielectric"},
        {with([](SynthOptions& o) { o.gain = -1; }), "gain"},
        {with([](SynthOptions& o) { o.gain = 65536; }), "gain"},
        {with([](SynthOptions& o) { o.pulseWidthNs = -1; }), "pulse"},
        {with([](SynthOptions& o) { o.memNo = 0; }), "memory"},
        {with([](SynthOptions& o) { o.memNo = 48; }), ""},
        {with([](SynthOptions& o) { o.memNo = 49; }), "memory"},
        {with([](SynthOptions& o) { o.faultAtNs = 0; }), ""},
        {with([](SynthOptions& o) { o.faultAtNs = -0.1; }), "fault"},
        {with([](SynthOptions& o) { o.faultAtNs = 1024; }), "1024 ns"},
        {with([](SynthOptions& o) { o.faultAtNs = std::nan(""); }), "fault"},
        {with([](SynthOptions& o) { o.faultAtNs = 5000, o.fault = SynthOptions::None; }), ""},
        {with([](SynthOptions& o) { o.cableId = std::string(30, 'C'); }), ""},
        {with([](SynthOptions& o) { o.cableId = std::string(31, 'C'); }), "cable ID"},
        {with([](SynthOptions& o) { o.cableId = std::string("A\0B", 3); }), "zero"},
    };
    for (const Case& c : cases) {
        std::string e = SynthOptionsError(c.o);
        if (*c.mentions == '\0') {
            EXPECT_EQ(e, "");
            // Accepted options give a trace the reader takes back.
            struct : ByteSink {
                std::vector<std::uint8_t> b;
                int Write(std::span<const std::uint8_t> s) override {
                    b.insert(b.end(), s.begin(), s.end());
                    return 0;
                }
            } sink;
            ASSERT_EQ(WriteTrace(sink, Synthesize(c.o)), 0);
            MemorySource in(sink.b);
            TraceData back;
            EXPECT_EQ(ReadTrace(in, back), LoadOk);
        } else {
            EXPECT_NE(e.find(c.mentions), std::string::npos) << "error: " << e;
        }
    }
}

TEST(Synth, WrittenFileReadsBackUnchanged) {
    auto dir =
        std::filesystem::temp_directory_path() / ("synth_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "ROUND.KEL").string();
    SynthOptions o;
    o.fault = SynthOptions::Short;
    o.faultAtNs = 700;
    o.samples = 1500;
    TraceData made = Synthesize(o);
    ASSERT_EQ(WriteFileSafely(path, [&](ByteSink& out) { return WriteTrace(out, made); }), 0);

    TraceData back;
    ASSERT_EQ(ReadTraceFile(path, back), LoadOk);
    EXPECT_EQ(back.header, made.header);
    EXPECT_TRUE(
        std::equal(made.samples.begin(), made.samples.begin() + 1500, back.samples.begin()));
    EXPECT_EQ(back.notes, made.notes);
    EXPECT_EQ(std::filesystem::file_size(path), Encoded(made).size());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace r470
