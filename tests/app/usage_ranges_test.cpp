// Every number a tdrtool subcommand takes is checked against its range before anything is
// done: out of range is a usage error (exit 2) with the usage shown, never cut to fit, never
// a failure of the work (exit 1).
#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

TEST(UsageRanges, EveryOutOfRangeNumberOfEverySubcommandExitsWithTwo) {
    test::TempDir dir;
    const std::string tool = std::string(TDRTOOL_PATH) + " ";
    const std::string f = dir.Path("F.KEL"), png = " --out " + dir.Path("p.png");
    ASSERT_EQ(test::RunLine(tool + "synth --samples 100 --fault none --out " + f).exit, 0);
    // One row per rule: the command with "#" where each value goes, and what it says.
    struct Case {
        std::string line;
        std::vector<std::string> values;
        std::string says;
    } cases[] = {
        {"receive --port #", {"0", "257", "65543", "-65529", "131079"}, "bad port"},
        {"send --port # " + f + ":1", {"65543"}, "bad port"},
        {"encode " + f + ":# --out x", {"0", "49", "-1"}, "MEM 1 to 48"},
        {"send --port 1 nofile.KEL:#", {"0", "49"}, "MEM 1 to 48"},
        {"encode " + f + ":3 " + f + ":# --out x", {"3"}, "given twice"},
        {"instrument --pty --send #", {"0", "47-49"}, "bad memory list"},
        {"import-capture cap.dat --base x --memories #", {"49"}, "numbers 1 to 48"},
        {"render " + f + " --size #" + png, {"1x1", "648x20001"}, "16 to 20000"},
        {"render " + f + " --current #" + png, {"0", "6"}, "current slot"},
        {"render " + f + " --diff #" + png, {"0,1", "1,5"}, "compared slots"},
        {"csv " + f + " --diel #", {"299", "1000"}, "bad value"},
        {"synth --out x --samples #", {"2049"}, "number of samples"},
        {"synth --out x --mem #", {"0"}, "memory number must be 1 to 48"},
        {"receive --device /dev/null --timeout #", {"0.05"}, "bad timeout"},
    };
    for (const Case& c : cases) {
        for (const std::string& v : c.values) {
            std::string line = c.line;
            line.replace(line.find('#'), 1, v);
            test::ToolRun r =
                test::RunLine("cd " + dir.Path() + " && " + tool + line, dir.Path("err.txt"));
            EXPECT_EQ(r.exit, 2) << line << "\n" << r.err;
            EXPECT_NE(r.err.find(c.says), std::string::npos) << line << "\n" << r.err;
            EXPECT_NE(r.err.find("Usage: tdrtool"), std::string::npos) << line;
            EXPECT_FALSE(std::filesystem::exists(dir.Path("x"))) << line;
            EXPECT_FALSE(std::filesystem::exists(dir.Path("p.png"))) << line;
        }
    }
}

} // namespace
} // namespace r470
