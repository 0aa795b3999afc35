// tdrtool locate-both on pairs of files synthesised from the two ends of one cable.
#include "support/temp_dir.h"
#include "support/tool_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace r470 {
namespace {

class LocateBoth : public test::ToolFixture {
  protected:
    // A matched cable with a short `ns` two-way from the launch.
    std::string End(const std::string& name, double ns, double other = 0) {
        std::string more =
            other > 0 ? " --reflection " + std::to_string(other) + ":0.15" : std::string();
        return Synth(name, "--fault none --noise 0.5 --loss 10 --reflection " + std::to_string(ns) +
                               ":-0.5" + more);
    }
};

TEST_F(LocateBoth, DistancesFromEachEndAndTheFactorInTextAndJson) {
    // 1000 ns two-way end to end at PVF 0.660 is 98.934 m; the short 300 ns from end A.
    std::string a = End("a.kel", 300, 500), b = End("b.kel", 700);
    test::ToolRun r = Tool("locate-both " + a + " " + b + " --length 98.934");
    ASSERT_EQ(r.exit, 0) << r.err;
    double fromA = 0, fromB = 0, pvf = 0;
    ASSERT_EQ(
        std::sscanf(r.out.c_str(), "From A: %lf m\nFrom B: %lf m\nPVF %lf", &fromA, &fromB, &pvf),
        3)
        << r.out;
    EXPECT_NEAR(fromA, 29.68, 0.1); // two samples of 0.5 ns are 0.05 m
    EXPECT_NEAR(fromB, 69.25, 0.1);
    EXPECT_NEAR(pvf, 0.660, 0.002);
    test::ToolRun j = Tool("locate-both " + a + " " + b + " --length 324.59 --units feet --json");
    ASSERT_EQ(j.exit, 0) << j.err;
    for (const char* key :
         {"{\"from_a\":97.", "\"from_b\":227.", "\"pvf\":0.66", "\"units\":\"feet\""})
        EXPECT_NE(j.out.find(key), std::string::npos) << key << " in " << j.out;
    // --at-a takes another event of A: the open at 500 ns puts the fault there.
    test::ToolRun at = Tool("locate-both " + a + " " + b + " --length 120 --at-a 500 --json");
    ASSERT_EQ(at.exit, 0) << at.err;
    const std::size_t t = at.out.find("\"t_a_ns\":");
    ASSERT_NE(t, std::string::npos) << at.out;
    EXPECT_NEAR(std::stod(at.out.substr(t + 9)), 500, 1) << at.out;
}

TEST_F(LocateBoth, RefusalsAndUsage) {
    std::string a = End("a.kel", 300), b = End("b.kel", 700);
    struct Row {
        std::string args;
        int exit;
        const char* told;
    };
    const Row rows[] = {
        {"locate-both " + a + " " + b + " --length 5", 1, "outside 0.300 to 0.999"},
        {"locate-both " + a + " " + b + " --length 500", 1, "outside 0.300 to 0.999"},
        {"locate-both " + a + " '" + dir.Path("none.kel") + "' --length 99", 1, "none.kel"},
        {"locate-both " + a + " " + b, 2, "--length L is required"},
        {"locate-both " + a + " --length 99", 2, "two waveform files"},
        {"locate-both " + a + " " + b + " --length -3", 2, "bad value"},
        {"locate-both " + a + " " + b + " --length 99 --units time", 2, "bad value"},
    };
    for (const Row& r : rows) {
        test::ToolRun t = Tool(r.args);
        EXPECT_EQ(t.exit, r.exit) << r.args;
        EXPECT_NE(t.err.find(r.told), std::string::npos) << r.args << ": " << t.err;
        EXPECT_TRUE(t.out.empty()) << r.args;
    }
    EXPECT_NE(Tool("--help").out.find("locate-both"), std::string::npos);
}

} // namespace
} // namespace r470
