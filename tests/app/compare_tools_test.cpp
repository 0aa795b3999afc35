// tdrtool dbrl and the compared pair of tdrtool render, run as scripts run them.
#include "common/file_io.h"
#include "display/recording_canvas.h"
#include "output/picture_job.h"
#include "support/display_fixture.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

using Ran = test::ToolRun;

Ran RunTool(const test::TempDir& dir, const std::string& args) {
    return test::RunLine(std::string(TDRTOOL_PATH) + " " + args, dir.Path("err.txt"));
}

// The worked example: 1 ns samples at 128, a pulse at 10 ns and a reflection at 50 ns.
std::string WriteExample(const test::TempDir& dir) {
    SynthOptions o;
    o.samples = 200;
    o.intervalPs = 1000;
    o.pulseWidthNs = 1;
    TraceData t = Synthesize(o);
    t.samples.fill(128);
    const int pulse[] = {128, 180, 228, 200}, echo[] = {128, 140, 153, 150};
    for (int k = 0; k < 4; ++k) {
        t.samples[static_cast<std::size_t>(9 + k)] = static_cast<std::uint8_t>(pulse[k]);
        t.samples[static_cast<std::size_t>(49 + k)] = static_cast<std::uint8_t>(echo[k]);
    }
    t.header.DispGain = 4; // the display gain plays no part
    std::string path = dir.Path("example.kel");
    WriteFileSafely(path, [&](ByteSink& out) { return WriteTrace(out, t); });
    return path;
}

TEST(DbrlCommand, PrintsTheResultWindowsTextsOrTheRefusal) {
    test::TempDir dir;
    std::string file = WriteExample(dir);
    for (const char* cursors : {"10,50", "50,10", "--cursors=50,10"}) {
        std::string arg = cursors[0] == '-' ? cursors : std::string("--cursors ") + cursors;
        Ran r = RunTool(dir, "dbrl " + file + " " + arg);
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, "Return loss 0.25\ndBRL 12.04\n") << cursors;
    }
    Ran flat = RunTool(dir, "dbrl " + file + " --cursors 100,150");
    EXPECT_EQ(flat.out, "Return loss 0.00\ndBRL 0.00\n");
    Ran past = RunTool(dir, "dbrl " + file + " --cursors 10,201");
    EXPECT_EQ(past.exit, 1);
    EXPECT_EQ(past.out, "");
    EXPECT_EQ(past.err, "Both cursors must be within trace range\n");
    Ran missing = RunTool(dir, "dbrl " + dir.Path("none.kel") + " --cursors 1,2");
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err, "");
    for (const char* bad :
         {"dbrl", "dbrl ", "dbrl x.kel --cursors 1", "dbrl a b", "dbrl x.kel --nope 1"})
        EXPECT_EQ(RunTool(dir, bad).exit, 2) << bad;
}

struct PictureDiff : test::DisplayFixture {
    test::TempDir dir;
    SetCommands commands{session, display, host, prompts};
    std::string Make(const std::string& name, int intervalPs, int gain) {
        SynthOptions o;
        o.samples = 400;
        o.intervalPs = intervalPs;
        o.gain = gain;
        std::string path = dir.Path(name);
        WriteFileSafely(path, [&](ByteSink& out) { return WriteTrace(out, Synthesize(o)); });
        return path;
    }
};

TEST_F(PictureDiff, ComparesTheNamedSlotsLowerMinusHigherWhateverTheGrids) {
    PictureOptions o;
    o.files = {Make("a.kel", 1000, 3), Make("b.kel", 500, 5), Make("c.kel", 500, 3)};
    o.diff = std::make_pair(3, 1);
    ASSERT_EQ(LoadForPicture(session, display, commands, prompts, o), "")
        << "different gains load without a window to ask";
    EXPECT_EQ(session.set.DiffA, 1);
    EXPECT_EQ(session.set.DiffB, 3);
    EXPECT_TRUE(session.set.Slot(kDiffSlot).Loaded && session.set.Slot(kDiffSlot).Shown);
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(session.set.Slot(n).Shown);
    display.SetMapValues(1);
    ASSERT_TRUE(display.SetDiffGrid());
    EXPECT_EQ(display.state().DiffRef, 3) << "the finer grid";
    const TraceSlot& s1 = session.set.Slot(1);
    const TraceSlot& s3 = session.set.Slot(3);
    // Sample 100 of slot 3 is at 50 ns, sample 50 of slot 1: slot 1 minus slot 3.
    double ppl = display.state().PixelsPerLevel;
    double want = (display.SampleLevel(1, s1.data.samples[49]) -
                   display.SampleLevel(3, s3.data.samples[99])) *
                      ppl +
                  (display.state().TraceBottom - display.state().GraphTop) / 2;
    EXPECT_NEAR(display.DiffValue(100), want, 1e-9);

    for (auto [a, b, problem] : {std::tuple{2, 2, "If comparing, you must select 2 waveforms"},
                                 {1, 4, "Cannot display or compare where no waveform loaded"},
                                 {0, 1, "Cannot display or compare where no waveform loaded"}}) {
        Workspace fresh;
        RecordingCanvas c;
        DisplayHost h;
        Display d(fresh, c, h);
        d.SetSurface({648, 489, 140, 25, 648, 0});
        d.SetDrawParam();
        SetCommands sc(fresh, d, h, prompts);
        o.diff = std::make_pair(a, b);
        EXPECT_EQ(LoadForPicture(fresh, d, sc, prompts, o), std::string("--diff: ") + problem);
    }
    Ran r = RunTool(dir, "render " + o.files[0] + " " + o.files[2] + " --diff 1,2 --out " +
                             dir.Path("d.png"));
    EXPECT_EQ(r.exit, 0) << r.err;
    Ran bad = RunTool(dir, "render " + o.files[0] + " --diff 1,2 --out " + dir.Path("e.png"));
    EXPECT_EQ(bad.exit, 1);
    EXPECT_NE(bad.err.find("--diff: Cannot display or compare where no waveform loaded"),
              std::string::npos);
}

} // namespace
} // namespace r470
