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
    const std::string tool = TDRTOOL_PATH;
    const std::string f = dir.Path("F.KEL");
    ASSERT_EQ(test::RunLine(tool + " synth --samples 100 --fault none --out " + f).exit, 0);
    const std::string out = " --out " + dir.Path("out.bin");
    struct Case {
        std::string args;
        std::string says; // part of the problem named on standard error
    } cases[] = {
        // COM numbers: 1 to 256, the whole number (65543 is not COM7 cut to 16 bits).
        {"receive --port 0", "bad port"},
        {"receive --port 257", "bad port"},
        {"receive --port 65543", "bad port"},
        {"receive --port -65529", "bad port"},
        {"receive --port 131079", "bad port"},
        {"send --port 65543 " + f + ":1", "bad port"},
        // Memories in FILE:MEM: 1 to 48, each once.
        {"encode " + f + ":0" + out, "MEM 1 to 48"},
        {"encode " + f + ":49" + out, "MEM 1 to 48"},
        {"encode " + f + ":-1" + out, "MEM 1 to 48"},
        {"encode " + f + ":3 " + f + ":3" + out, "given twice"},
        {"send --port 1 " + f + ":49", "MEM 1 to 48"},
        {"send --port 1 nofile.KEL:0", "MEM 1 to 48"},
        {"instrument --pty --send 0", "bad memory list"},
        {"instrument --pty --send 47-49", "bad memory list"},
        {"import-capture cap.dat --base x --memories 49", "numbers 1 to 48"},
        {"synth --mem 0" + out, "memory number must be 1 to 48"},
        // Picture size, slots and cursor times.
        {"render " + f + " --size 1x1 --out " + dir.Path("p.png"), "16 to 20000"},
        {"render " + f + " --size 648x20001 --out " + dir.Path("p.png"), "16 to 20000"},
        {"render " + f + " --current 6 --out " + dir.Path("p.png"), "current slot"},
        {"render " + f + " --current 0 --out " + dir.Path("p.png"), "current slot"},
        {"render " + f + " --diff 0,1 --out " + dir.Path("p.png"), "compared slots"},
        {"render " + f + " --diff 1,5 --out " + dir.Path("p.png"), "compared slots"},
        {"render " + f + " --cursors -1,5 --out " + dir.Path("p.png"), "bad value"},
        {"dbrl " + f + " --cursors -1000,5", "bad value"},
        {"dbrl " + f + " --cursors 5,1e12", "bad value"},
        // Waveform values.
        {"csv " + f + " --diel 299", "bad value"},
        {"csv " + f + " --diel 1000", "bad value"},
        {"synth --samples 2049" + out, "number of samples"},
        {"synth --interval-ps 0" + out, "sample interval"},
        {"synth --diel 299" + out, "dielectric"},
        {"synth --gain 65536" + out, "gain"},
        {"synth --pulse-width -1" + out, "pulse width"},
        {"receive --device /dev/null --timeout 0.05", "bad timeout"},
    };
    for (const Case& c : cases) {
        test::ToolRun r = test::RunLine(tool + " " + c.args, dir.Path("err.txt"));
        EXPECT_EQ(r.exit, 2) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find("Usage: tdrtool"), std::string::npos) << c.args;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("out.bin"))) << c.args;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("p.png"))) << c.args;
    }
}

} // namespace
} // namespace r470
