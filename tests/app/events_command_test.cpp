// tdrtool events and render --cursors auto, run as scripts run them, on files synthesised
// with the lossy cable.
#include "common/file_io.h"
#include "support/temp_dir.h"
#include "support/tool_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace r470 {
namespace {

using Ran = test::ToolRun;

using EventsCommand = test::ToolFixture;

TEST_F(EventsCommand, JsonLinesWithEveryKeyAndTheFirstChange) {
    // A healthy cable with an open end at 900 ns, and the same cable with a short at 400 ns.
    std::string healthy = Synth("a.kel", "--fault-at 900 --loss 20 --noise 0.5 --seed 1");
    std::string now =
        Synth("b.kel", "--fault-at 900 --loss 20 --noise 0.5 --seed 2 --reflection 400:-0.3");
    Ran r = Tool("events " + now + " " + healthy + " --reference " + healthy + " --json");
    ASSERT_EQ(r.exit, 0) << r.err;
    auto nl = r.out.find('\n');
    ASSERT_NE(nl, std::string::npos);
    std::string first = r.out.substr(0, nl), second = r.out.substr(nl + 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
    for (const char* key : {"\"file\":", "\"launch_ns\":", "\"noise\":", "\"events\":[{",
                            "\"time_ns\":", "\"peak_ns\":", "\"distance\":", "\"amplitude\":",
                            "\"reflection\":", "\"return_loss_db\":", "\"first_change\":"})
        EXPECT_NE(first.find(key), std::string::npos) << key;
    // The short comes first and is down; the open end is the largest, second of two.
    EXPECT_NE(first.find("\"polarity\":\"down\""), std::string::npos);
    EXPECT_NE(first.find("\"largest\":1"), std::string::npos);
    EXPECT_NE(first.find("\"first_change\":{\"time_ns\":40"), std::string::npos) << first;
    EXPECT_NE(second.find("\"first_change\":null"), std::string::npos) << second;
    // 400 ns at PVF 0.66 is 39.6 m, 129.8 ft.
    Ran feet = Tool("events " + now + " --json --units feet");
    EXPECT_NE(feet.out.find("\"distance\":13"), std::string::npos) << feet.out;
    EXPECT_EQ(feet.out.find("first_change"), std::string::npos);
}

TEST_F(EventsCommand, ExitStatusForUnreadableFilesUncomparableReferencesAndUsage) {
    std::string fine = Synth("fine.kel", "--fault-at 600");
    std::string coarse = Synth("coarse.kel", "--interval-ps 50000 --fault-at 60000");
    const std::uint8_t junk[] = {'j', 'u', 'n', 'k'};
    WriteFileSafely(dir.Path("junk.kel"), [&](ByteSink& out) { return out.Write(junk); });
    struct Row {
        std::string args;
        int exit;
        const char* says;
    } rows[] = {
        {"events " + fine, 0, ""},
        {"events " + fine + " '" + dir.Path("junk.kel") + "'", 1, "not a valid waveform file"},
        {"events " + fine + " --reference " + coarse, 1, "too far apart"},
        {"events " + fine + " --units miles", 2, "bad value"},
        {"events", 2, "no waveform file"},
    };
    for (const Row& row : rows) {
        Ran r = Tool(row.args);
        EXPECT_EQ(r.exit, row.exit) << row.args;
        EXPECT_NE(r.err.find(row.says), std::string::npos) << row.args << ": " << r.err;
    }
    Ran table = Tool("events " + fine);
    EXPECT_NE(table.out.find("largest"), std::string::npos) << table.out;
}

} // namespace
} // namespace r470
