// tdrtool cables, --cable beside --diel, and tdrtool vf, run as scripts run them.
#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace r470 {
namespace {

using test::ToolRun;

struct CablesCommand : ::testing::Test {
    test::TempDir dir; // the configuration folder
    ToolRun Tool(const std::string& args) {
        return test::RunLine("XDG_CONFIG_HOME='" + dir.Path() + "' " + TDRTOOL_PATH + " " + args,
                             dir.Path("err.txt"));
    }
    static std::string Sample(const char* name) {
        return std::string(R470_SAMPLES_DIR) + "/" + name;
    }
};

TEST_F(CablesCommand, ListsBuiltInAndUserCablesAndNamesBadLines) {
    test::WriteText(dir.Path("r470-cables.txt"), "# mine\nYard drum; 0.671; measured\nnonsense\n");
    ToolRun json = Tool("cables --json");
    ASSERT_EQ(json.exit, 0);
    EXPECT_NE(json.out.find("{\"name\":\"RG-58 solid PE\",\"pvf\":0.660,\"note\":\"50 ohm\","
                            "\"source\":\"built-in\"}\n"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.substr(json.out.rfind('{')),
              "{\"name\":\"Yard drum\",\"pvf\":0.671,\"note\":\"measured\",\"source\":\"user\"}\n");
    EXPECT_NE(json.err.find("r470-cables.txt line 3: no velocity factor"), std::string::npos)
        << json.err;
    ToolRun text = Tool("cables");
    ASSERT_EQ(text.exit, 0);
    EXPECT_NE(text.out.find("Yard drum"), std::string::npos);
    EXPECT_EQ(Tool("cables --colour").exit, 2);
}

TEST_F(CablesCommand, ColumnsLineUpByCharactersAndEveryBadLineIsNamed) {
    test::WriteText(dir.Path("r470-cables.txt"),
                    "Kabel \xC2\xB5W; 0.66\nT\xC3\xBCr; 0.7\nbad one\nbad two\n; 0.5\n");
    ToolRun t = Tool("cables");
    ASSERT_EQ(t.exit, 0);
    std::istringstream lines(t.out);
    std::set<std::size_t> pvfColumns;
    for (std::string line; std::getline(lines, line);) {
        std::string before = line.substr(0, line.find(" 0."));
        // Characters, not bytes: UTF-8 continuation bytes do not count.
        pvfColumns.insert(
            std::count_if(before.begin(), before.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    }
    EXPECT_EQ(pvfColumns.size(), 1u) << t.out;
    for (const char* said : {"line 3: no velocity factor", "line 4: no velocity factor",
                             "line 5: no name before the first ';'."})
        EXPECT_NE(t.err.find(said), std::string::npos) << t.err;
}

TEST_F(CablesCommand, ACableGivesExactlyTheNumbersOfItsFactor) {
    test::WriteText(dir.Path("r470-cables.txt"), "Yard drum; 0.671\n");
    const std::string f = Sample("FEEDER1.KEL");
    const std::string bmp = dir.Path("a.bmp"), bmp2 = dir.Path("b.bmp"), bmp3 = dir.Path("c.bmp");
    struct Row {
        std::string byCable, byDiel;
    };
    for (const Row& r : {Row{"csv " + f + " --units feet --cable 'rg-62 AIR-SPACED pe'",
                             "csv " + f + " --units feet --diel 840"},
                         Row{"csv " + f + " --cable=YARD\\ DRUM", "csv " + f + " --diel=671"},
                         Row{"dbrl " + f + " --cursors 10,200 --cable 'Power XLPE'",
                             "dbrl " + f + " --cursors 10,200 --diel 567"},
                         Row{"events " + f + " --json --cable 'Power XLPE'",
                             "events " + f + " --json --diel 567"}}) {
        ToolRun a = Tool(r.byCable), b = Tool(r.byDiel);
        EXPECT_EQ(a.exit, 0) << r.byCable << a.err;
        EXPECT_EQ(a.out, b.out) << r.byCable;
        EXPECT_FALSE(a.out.empty());
    }
    // The picture's distances: the same bytes, and not those of the file's own factor.
    ASSERT_EQ(Tool("render " + f + " --cable 'power pilc' --out " + bmp).exit, 0);
    ASSERT_EQ(Tool("render " + f + " --diel 534 --out " + bmp2).exit, 0);
    ASSERT_EQ(Tool("render " + f + " --out " + bmp3).exit, 0);
    EXPECT_EQ(test::ReadBytes(bmp), test::ReadBytes(bmp2));
    EXPECT_NE(test::ReadBytes(bmp), test::ReadBytes(bmp3));
    EXPECT_NE(Tool("csv " + f + " --cable 'Power PILC'").out, Tool("csv " + f).out);
}

TEST_F(CablesCommand, AnUnknownCableIsAUsageErrorNamingTheNearest) {
    const std::string f = Sample("FEEDER1.KEL");
    struct Row {
        std::string args;
        const char* said;
    };
    for (const Row& r : {Row{"csv " + f + " --cable rg58solid", "nearest: \"RG-58 solid PE\""},
                         Row{"render " + f + " --cable xlpe --out " + dir.Path("x.png"),
                             "unknown cable \"xlpe\"; nearest: \"Power XLPE\""},
                         Row{"dbrl " + f + " --cable cat5", "nearest: \"Cat 5e UTP\""},
                         Row{"csv " + f + " --diel 600 --cable 'Power PVC'", "not both"}}) {
        ToolRun t = Tool(r.args);
        EXPECT_EQ(t.exit, 2) << r.args;
        EXPECT_NE(t.err.find(r.said), std::string::npos) << t.err;
        EXPECT_TRUE(t.out.empty());
    }
}

TEST_F(CablesCommand, VfPrintsTheFactorOfAKnownLength) {
    const std::string f = Sample("FEEDER1.KEL");
    struct Row {
        std::string args;
        int exit;
        const char* out;
    };
    for (const Row& r :
         {Row{"vf " + f + " --length 100 --cursors 0,1006.8", 0, "PVF 0.663\n"},
          Row{"vf " + f + " --cursors 1006.8,0 --length=100 --units metres", 0, "PVF 0.663\n"},
          Row{"vf " + f + " --length 328 --units feet --cursors 0,1006.8", 0, "PVF 0.663\n"},
          Row{"vf " + f + " --length 10 --cursors 0,1006.8", 1, ""},
          Row{"vf " + f + " --length 100 --cursors 500,500", 1, ""},
          Row{"vf " + f + " --length 100 --cursors 0,9999999", 1, ""},
          Row{"vf " + dir.Path("none.KEL") + " --length 100 --cursors 0,10", 1, ""},
          Row{"vf " + f + " --length 100", 2, ""}, Row{"vf " + f + " --cursors 0,100", 2, ""},
          Row{"vf " + f + " --length -1 --cursors 0,100", 2, ""},
          Row{"vf " + f + " --length nan --cursors 0,100", 2, ""},
          Row{"vf " + f + " --length 100 --units time --cursors 0,100", 2, ""},
          Row{"vf --length 100 --cursors 0,100", 2, ""},
          // The launch to the open end that events puts at 59.49 m at the file's 0.660.
          Row{"vf " + f + " --length 59.49 --auto", 0, "PVF 0.660\n"},
          Row{"vf " + f + " --length 59.49 --auto --cursors 0,100", 2, ""}}) {
        ToolRun t = Tool(r.args);
        EXPECT_EQ(t.exit, r.exit) << r.args << t.err;
        EXPECT_EQ(t.out, r.out) << r.args;
    }
    ToolRun refused = Tool("vf " + f + " --length 10 --cursors 0,1006.8");
    EXPECT_NE(refused.err.find("outside 0.300 to 0.999"), std::string::npos) << refused.err;
}

} // namespace
} // namespace r470
