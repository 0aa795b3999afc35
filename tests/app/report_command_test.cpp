// tdrtool report run as scripts run it: the PDF's pages and searchable text, its fonts, and
// what happens to a report whose input cannot be read.
#include "common/file_io.h"
#include "output/report_defaults.h"
#include "support/pdf_pages.h"
#include "support/temp_dir.h"
#include "support/tool_fixture.h"

#include <gtest/gtest.h>

#include <regex>

namespace r470 {
namespace {

using Ran = test::ToolRun;

class ReportCommand : public test::ToolFixture {
  protected:
    std::string Text(const std::string& pdf) {
        return test::RunLine("pdftotext -layout '" + pdf + "' -").out;
    }
};

TEST_F(ReportCommand, ThreeWaveformsGiveASummaryAndAPageEachWithSearchableText) {
    std::string files = Synth("a.kel", "--fault-at 500 --cable-id 'CÂBLE-É1'") + " " +
                        Synth("b.kel", "--fault-at 700 --fault short --cable-id 'µ-LINK'") + " " +
                        Synth("c.kel", "--fault-at 900 --cable-id 'Süd 3'");
    const std::string out = dir.Path("r.pdf");
    Ran r = Tool("report " + files + " --out " + out +
                 " --site 'Подстанция №7' --technician 'Zoë' --paper letter");
    ASSERT_EQ(r.exit, 0) << r.err;
    std::vector<std::uint8_t> pdf = test::ReadBytes(out);
    EXPECT_EQ(test::PdfPages(pdf), 4u);
    const std::string text = Text(out);
    for (const char* want : {"Cable test report", "CÂBLE-É1", "µ-LINK", "Süd 3", "Подстанция №7",
                             "Zoë", "Page 4 of 4", "Largest at", "short-like"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;

    // The distances and return losses are those of "tdrtool events", to two decimals.
    Ran events = Tool("events " + files + " --json");
    ASSERT_EQ(events.exit, 0);
    std::regex number("\"(distance|return_loss_db)\":(-?[0-9.]+)");
    int checked = 0;
    for (auto it = std::sregex_iterator(events.out.begin(), events.out.end(), number);
         it != std::sregex_iterator(); ++it, ++checked) {
        char want[32];
        std::snprintf(want, sizeof want, "%.2f", std::stod((*it)[2]));
        EXPECT_NE(text.find(want), std::string::npos) << want;
    }
    EXPECT_GE(checked, 6);

    // Every font is embedded: the pages read the same on a machine without them.
    const std::string fonts = test::RunLine("pdffonts '" + out + "'").out;
    std::regex noEmbed(R"(\n[^\n]*\s+no\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+)");
    EXPECT_NE(fonts.find("yes"), std::string::npos) << fonts;
    EXPECT_FALSE(std::regex_search(fonts, noEmbed)) << fonts;
    // Letter paper: 612 x 792 points.
    EXPECT_NE(test::RunLine("pdfinfo '" + out + "'").out.find("612 x 792"), std::string::npos);
}

// Archived tests take their cable, site and baseline from the archive; a refusal writes
// nothing and keeps an older report.
TEST_F(ReportCommand, BaselinesFromTheArchiveOrAFileAndRefusals) {
    const std::string db = " --db '" + dir.Path("a.sqlite") + "'";
    const std::string lossy = "--fault-at 900 --loss 20 --noise 0.5 ";
    std::string healthy = Synth("h.kel", lossy + "--seed 1 --mem 1"); // 14:30
    std::string changed = Synth("c.kel", lossy + "--seed 2 --mem 3 --reflection 400:-0.3");
    std::string again = Synth("n.kel", lossy + "--seed 3 --mem 2"); // 14:31
    // Filed out of their order in time; the first one filed is the baseline.
    for (const std::string& f : {healthy, changed, again})
        ASSERT_EQ(Tool("archive add " + f + " --site North --cable 'F-Ω1'" + db).exit, 0) << f;
    std::string south = Synth("s.kel", "--fault-at 600");
    ASSERT_EQ(Tool("archive add " + south + " --site South --cable 'F-Ω1'" + db).exit, 0);
    std::string loose = Synth("l.kel", "--fault-at 500 --cable-id LOOSE");
    ASSERT_EQ(WriteFileBytes(dir.Path("junk.kel"), std::vector<std::uint8_t>(50, 'x')), 0);
    const std::string junk = " '" + dir.Path("junk.kel") + "'";
    std::smatch m;
    std::string events = Tool("events " + changed + " --reference " + healthy + " --json").out;
    ASSERT_TRUE(std::regex_search(events, m,
                                  std::regex("\"first_change\":\\{[^}]*\"distance\":(-?[0-9.]+)")))
        << events;
    char at[32];
    std::snprintf(at, sizeof at, "at %.2f m", std::stod(m[1]));
    const std::string since = "since the baseline of 08/12/2026 14:30:00";

    const std::string out = dir.Path("r.pdf");
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    struct Row {
        std::string args;
        int exit;
        std::vector<std::string> inOrder; // in the PDF's text, or the error output
        std::string absent;
        std::string paper = ""; // pdfinfo's page size, where it is checked
    };
    const Row rows[] = {
        {changed + db, 0, {"North", "F-Ω1", "First change " + since + ": " + at}, "FEEDER 1"},
        // The baseline is not compared with itself; a file not filed keeps its own cable ID.
        {healthy + " " + loose + db, 0, {"F-Ω1", "LOOSE"}, "since the baseline"},
        {"--cable 'F-Ω1' --site North" + db,
         0,
         {"14:32:00", "14:31:00", "14:30:00", "First change " + since, "No change " + since},
         "LOOSE"},
        {"--cable 'F-Ω1'" + db, 1, {"more than one site (\"North\", \"South\")"}, ""},
        {"--cable NOPE --site North" + db,
         1,
         {"no test of cable \"NOPE\" at site \"North\"", "no report written"},
         ""},
        {changed + " --db '" + dir.Path("none.sqlite") + "'", 1, {"no cable archive"}, ""},
        {"--cable 'F-Ω1' " + healthy + db, 2, {"not both"}, ""},
        // A baseline given as a file, with no archive.
        {changed + " --baseline " + healthy + " --paper a4",
         0,
         {"First change since the baseline of", at},
         "",
         "595 x 842"},
        {changed + " '" + dir.Path("missing.kel") + "'", 1, {"missing.kel: "}, ""},
        {changed + junk, 1, {"junk.kel: File is not a valid waveform"}, ""},
        {changed + " --baseline" + junk, 1, {"junk.kel: "}, ""},
        {changed + " --units time", 2, {"bad value"}, ""},
        {changed + " --paper a5", 2, {"bad value"}, ""},
        {"", 2, {"no waveform file"}, ""},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(WriteFileBytes(out, old), 0);
        Ran r = Tool("report " + row.args + " --out '" + out + "'");
        ASSERT_EQ(r.exit, row.exit) << row.args << "\n" << r.err;
        const std::string text = row.exit == 0 ? Text(out) : r.err;
        std::size_t from = 0;
        for (const std::string& want : row.inOrder) {
            from = text.find(want, from);
            ASSERT_NE(from, std::string::npos) << row.args << ": " << want << "\n" << text;
        }
        if (!row.absent.empty()) {
            EXPECT_EQ(text.find(row.absent), std::string::npos) << row.args << "\n" << text;
        }
        if (row.exit != 0) {
            EXPECT_EQ(test::ReadBytes(out), old) << row.args;
        }
        if (!row.paper.empty()) {
            EXPECT_NE(test::RunLine("pdfinfo '" + out + "'").out.find(row.paper),
                      std::string::npos);
        }
    }
}

TEST(ReportDefaults, RememberedValuesReadBackOnOneLineEach) {
    test::TempDir dir;
    const std::string path = ReportDefaultsPath(dir.Path());
    EXPECT_EQ(ReadReportDefaults(path).title, "Cable test report") << "nothing saved yet";
    ASSERT_EQ(SaveReportDefaults(path, {"Prüfbericht", "Zoë\nEvil=1", "Подстанция"}), 0);
    const ReportDefaults back = ReadReportDefaults(path);
    EXPECT_EQ(back, (ReportDefaults{"Prüfbericht", "Zoë Evil=1", "Подстанция"}));
}

} // namespace
} // namespace r470
