// One return loss for one reflection: what `tdrtool events` gives for every event of the
// sample files is what `tdrtool dbrl` measures with the cursors on the launch and on that
// event, and "Find fault" then "dBRL" measures on every sample file.
#include "analysis/trace_events.h"
#include "display/fault_cursors.h"
#include "display/return_loss.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "waveform/units.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

std::vector<std::string> SampleFiles() {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(R470_SAMPLES_DIR))
        if (e.path().extension() == ".KEL")
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// The number after `"key":` from `from` on; the position after it in `at`.
std::string Value(const std::string& json, const std::string& key, std::size_t& at) {
    at = json.find("\"" + key + "\":", at);
    if (at == std::string::npos)
        return "";
    at += key.size() + 3;
    std::size_t end = json.find_first_of(",}", at);
    return json.substr(at, end - at);
}

TEST(EventsReturnLoss, EventsAndDbrlGiveOneFigureForEveryEventOfTheSamples) {
    test::TempDir dir;
    const std::string tool = TDRTOOL_PATH;
    for (const std::string& file : SampleFiles()) {
        int events = 0;
        test::ToolRun r = test::RunLine(tool + " events '" + file + "' --json");
        ASSERT_EQ(r.exit, 0) << file;
        std::size_t at = 0;
        const std::string launch = Value(r.out, "launch_ns", at);
        ASSERT_FALSE(launch.empty()) << r.out;
        EXPECT_GE(std::stod(launch), 0) << "cursor 1 never before the first sample: " << file;
        for (;;) {
            std::string time = Value(r.out, "time_ns", at);
            if (time.empty())
                break;
            std::string db = Value(r.out, "return_loss_db", at);
            test::ToolRun d =
                test::RunLine(tool + " dbrl '" + file + "' --cursors " + launch + "," + time,
                              dir.Path("err.txt"));
            ASSERT_EQ(d.exit, 0) << file << " at " << time << ": " << d.err;
            EXPECT_NE(d.out.find("dBRL " + db + "\n"), std::string::npos)
                << file << " at " << time << ": events " << db << ", dbrl " << d.out;
            ++events;
        }
        EXPECT_GE(events, 1) << file;
    }
}

TEST(EventsReturnLoss, FindFaultThenDbrlMeasuresOnEverySample) {
    for (const std::string& file : SampleFiles()) {
        WaveformSet set;
        TraceSlot& slot = set.Slot(1);
        ASSERT_EQ(ReadTraceFile(file, slot.data), LoadOk) << file;
        slot.Loaded = slot.Shown = true;
        slot.NsPerSample = SampleIntervalNs(slot.data.header);
        set.TraceCount = 1;
        set.CurTrace = 1;
        FaultTargets t = FindFaultTargets(set);
        TraceAnalysis a = AnalyseTrace(slot.data);
        ASSERT_TRUE(t.found) << file;
        EXPECT_GE(t.cursor1Ns, 0) << file;
        ReturnLoss rl = MeasureCurrentReturnLoss(set, t.cursor1Ns, t.cursor2Ns);
        EXPECT_EQ(rl.refusal, 0) << file;
        EXPECT_EQ(rl.dBText,
                  TwoDecimals(a.events[static_cast<std::size_t>(a.largest)].returnLossDb))
            << file;
    }
}

} // namespace
} // namespace r470
