#include "common/file_io.h"
#include "display/sample_table.h"
#include "display/set_commands.h"
#include "support/display_fixture.h"
#include "waveform/synth.h"
#include "waveform/units.h"

#include <sstream>

namespace r470 {
namespace {

std::vector<std::vector<std::string>> Rows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::size_t at = 0;
    while (at < csv.size()) {
        std::size_t end = csv.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends in CRLF";
        if (end == std::string::npos)
            break;
        std::vector<std::string> cells;
        std::stringstream line(csv.substr(at, end - at));
        for (std::string cell; std::getline(line, cell, ',');)
            cells.push_back(cell);
        if (!csv.empty() && csv[end - 1] == ',')
            cells.emplace_back();
        rows.push_back(cells);
        at = end + 2;
    }
    return rows;
}

TableWaveform Wave(const std::string& name, int samples, int intervalPs, int diel) {
    SynthOptions o;
    o.samples = samples;
    o.intervalPs = intervalPs;
    o.diel = diel;
    return {name, Synthesize(o)};
}

struct SampleTableReadouts : test::DisplayFixture {};

// The table's time and distance of a sample are what a cursor standing on that sample
// reads in the window, for each unit.
TEST_F(SampleTableReadouts, RowsAgreeWithTheCursorReadout) {
    test::TempDir dir;
    SynthOptions o;
    o.intervalPs = 750; // 0.75 ns
    o.diel = 712;
    std::string path = dir.Path("CABLE.KEL");
    ASSERT_EQ(WriteFileSafely(path, [&](ByteSink& out) { return WriteTrace(out, Synthesize(o)); }),
              0);
    SetCommands commands(session, display, host, prompts);
    ASSERT_EQ(commands.LoadFile(path), LoadOk);

    std::vector<TableWaveform> waves(1);
    ASSERT_EQ(ReadTraceFile(path, waves[0].data), LoadOk);
    const int sample = 801;
    struct Case {
        int units;
        int decimals; // of the readout for this distance
        const char* unit;
    };
    for (Case c : {Case{AxisMetres, 2, "m"}, Case{AxisFeet, 1, "ft"}, Case{AxisTime, 1, "ns"}}) {
        session.settings.XAxisUnits = static_cast<std::int16_t>(c.units);
        std::string csv;
        ASSERT_EQ(SamplesCsv(waves, {c.units, std::nullopt}, csv), "");
        auto rows = Rows(csv);
        ASSERT_EQ(rows.size(), 2049u);
        const auto& row = rows[sample];
        ASSERT_EQ(row[0], std::to_string(sample));
        double t = std::stod(row[1]);

        // A cursor on that sample, as the window places and reads it.
        const TraceSlot& slot = session.set.Slot(1);
        display.state().Cursor1Ns = (sample - 1) * slot.NsPerSample;
        display.state().ActiveCursor = 1;
        canvas.calls.clear();
        display.CursorText(kBlack);
        auto texts = canvas.Of(CanvasCall::Text);
        ASSERT_FALSE(texts.empty());
        const std::string readout = texts[0].text;

        std::string fromCsv = c.units == AxisTime
                                  ? TrimZeros(Fixed(t, c.decimals)) + c.unit
                                  : TrimZeros(Fixed(std::stod(row[2]), c.decimals)) + c.unit;
        EXPECT_EQ(fromCsv, readout) << c.unit;
        EXPECT_DOUBLE_EQ(t, 600.0);
        EXPECT_EQ(row.back(), std::to_string(waves[0].data.samples[sample - 1]));
    }
}

TEST(SampleTable, HeadingsColumnsAndGrids) {
    std::string csv;
    std::vector<TableWaveform> two{Wave("A.KEL", 4, 500, 660), Wave("B, \"new\".KEL", 3, 500, 800)};
    ASSERT_EQ(SamplesCsv(two, {AxisFeet, std::nullopt}, csv), "");
    auto rows = Rows(csv);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "sample,time_ns,distance_ft,A.KEL,\"B, \"\"new\"\".KEL\"");
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_EQ(rows[1][1], "0");
    EXPECT_EQ(rows[2][1], "0.5");
    // The first file's dielectric, as the display takes it.
    EXPECT_DOUBLE_EQ(std::stod(rows[2][2]), 0.5 * 0.1499 * 0.66 * 3.28);
    EXPECT_EQ(rows[4].size(), 5u) << "the shorter file leaves an empty cell";
    EXPECT_EQ(rows[4][4], "");
    EXPECT_NE(rows[3][4], "");

    ASSERT_EQ(SamplesCsv(two, {AxisMetres, 500}, csv), "");
    EXPECT_DOUBLE_EQ(std::stod(Rows(csv)[2][2]), 0.5 * 0.1499 * 0.5) << "the given dielectric";
    ASSERT_EQ(SamplesCsv(two, {AxisTime, std::nullopt}, csv), "");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "sample,time_ns,A.KEL,\"B, \"\"new\"\".KEL\"");

    std::vector<TableWaveform> mixed{Wave("A.KEL", 4, 500, 660), Wave("C.KEL", 4, 1000, 660)};
    EXPECT_NE(SamplesCsv(mixed, {}, csv), "") << "different sample intervals";
    EXPECT_EQ(csv, "");
    EXPECT_NE(SamplesCsv({}, {}, csv), "");

    // A dielectric outside the display's range is kept in it, as the display keeps it.
    std::vector<TableWaveform> odd{Wave("Z.KEL", 2, 500, 660)};
    odd[0].data.header.Diel = 0;
    EXPECT_EQ(TableDiel(odd, {}), 300);
    odd[0].data.header.Diel = 1500;
    EXPECT_EQ(TableDiel(odd, {}), 999);
}

TEST(SampleTable, FieldQuoting) {
    struct Case {
        const char* text;
        const char* field;
    };
    for (Case c : {Case{"plain", "plain"}, Case{"", ""}, Case{"a,b", "\"a,b\""},
                   Case{"say \"hi\"", "\"say \"\"hi\"\"\""}, Case{"two\nlines", "\"two\nlines\""},
                   Case{"cr\r", "\"cr\r\""}})
        EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

} // namespace
} // namespace r470
