// tdrtool csv run as a program, and tdrtool render's table, slot choice and PDF page.
#include "support/pdf_pages.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

using test::ToolRun;

ToolRun Tool(const std::string& args) {
    return test::RunLine(std::string(TDRTOOL_PATH) + " " + args);
}

std::string Sample(const char* name) {
    return std::string(R470_SAMPLES_DIR) + "/" + name;
}

std::string FirstLine(const std::string& s) {
    return s.substr(0, s.find("\r\n"));
}

TEST(CsvCommand, WritesTheSamplesOfOneOrMoreFiles) {
    ToolRun one = Tool("csv " + Sample("FEEDER1.KEL") + " --units feet");
    ASSERT_EQ(one.exit, 0);
    EXPECT_EQ(FirstLine(one.out), "sample,time_ns,distance_ft,FEEDER1.KEL");
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = one.out.find("\r\n", at)) != std::string::npos; at += 2)
        ++lines;
    EXPECT_EQ(lines, 2049u) << "a heading and 2048 samples";

    ToolRun two = Tool("csv " + Sample("FEEDER1.KEL") + " " + Sample("FEEDER2.KEL") +
                       " --units=time --diel 700");
    ASSERT_EQ(two.exit, 0);
    EXPECT_EQ(FirstLine(two.out), "sample,time_ns,FEEDER1.KEL,FEEDER2.KEL");

    test::TempDir dir;
    std::string out = dir.Path("f.csv");
    ASSERT_EQ(Tool("csv " + Sample("FEEDER1.KEL") + " --units feet --out " + out).exit, 0);
    auto bytes = test::ReadBytes(out);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), one.out) << "the same table in a file";
}

TEST(CsvCommand, RefusesBadArguments) {
    test::TempDir dir;
    std::string f = Sample("FEEDER1.KEL");
    struct Case {
        std::string args;
        int exit;
    };
    for (const Case& c : {Case{"csv", 2}, Case{"csv " + f + " --units yards", 2},
                          Case{"csv " + f + " --diel 299", 2}, Case{"csv " + f + " --diel 1000", 2},
                          Case{"csv " + f + " --diel", 2}, Case{"csv " + f + " --colour red", 2},
                          Case{"csv " + dir.Path("none.KEL"), 1},
                          Case{"csv " + f + " --out " + dir.Path("no/such/dir/x.csv"), 1}})
        EXPECT_EQ(Tool(c.args).exit, c.exit) << c.args;
    EXPECT_TRUE(dir.Names().empty()) << "nothing written";
}

TEST(RenderCommand, WritesThePrintedPageAsPdfAndChoosesTheCurrentSlot) {
    test::TempDir dir;
    std::string files = Sample("FEEDER1.KEL") + " " + Sample("FEEDER2.KEL");
    std::string pdf = dir.Path("page.pdf");
    ASSERT_EQ(Tool("render " + files + " --current 1 --out " + pdf).exit, 0);
    auto bytes = test::ReadBytes(pdf);
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "%PDF-");
    EXPECT_EQ(test::PdfPages(bytes), 1u);

    // The table names the current slot's file, in that slot's colour: the pictures differ.
    std::string a = dir.Path("a.bmp"), b = dir.Path("b.bmp"), last = dir.Path("last.bmp");
    ASSERT_EQ(Tool("render " + files + " --current 1 --out " + a).exit, 0);
    ASSERT_EQ(Tool("render " + files + " --current 2 --out " + b).exit, 0);
    ASSERT_EQ(Tool("render " + files + " --out " + last).exit, 0);
    EXPECT_NE(test::ReadBytes(a), test::ReadBytes(b));
    EXPECT_EQ(test::ReadBytes(b), test::ReadBytes(last)) << "the last file loaded by default";

    EXPECT_EQ(Tool("render " + files + " --current 3 --out " + dir.Path("c.bmp")).exit, 1);
    EXPECT_EQ(Tool("render " + files + " --current 6 --out " + dir.Path("c.bmp")).exit, 2);
    EXPECT_EQ(Tool("render " + files + " --current x --out " + dir.Path("c.bmp")).exit, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("c.bmp")));
}

} // namespace
} // namespace r470
