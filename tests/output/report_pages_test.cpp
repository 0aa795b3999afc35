// The test report's pages on the recording canvas: what stands where, how many pages, and
// numbers that agree with what `tdrtool events` prints for the same waveforms.
#include "analysis/events_report.h"
#include "display/recording_canvas.h"
#include "output/report_pages.h"
#include "shell/program.h"
#include "waveform/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace r470 {
namespace {

TraceData Cable(std::vector<LineReflection> reflections, unsigned seed = 1,
                const std::string& id = "FEEDER 1") {
    SynthOptions o;
    o.faultAtNs = 800;
    o.reflections = std::move(reflections);
    o.noise = 0.5;
    o.seed = seed;
    o.cableId = id;
    TraceData t = Synthesize(o);
    t.notes.Date = "2026-12-01";
    t.notes.Time = "09:30";
    return t;
}

ReportWaveform Page(const TraceData& t, const std::string& name) {
    ReportWaveform w;
    w.fileName = name;
    w.trace = t;
    return w;
}

struct Drawn {
    ReportLayout layout;
    std::vector<RecordingCanvas> pages;

    bool Has(int page, const std::string& text) const { return Find(page, text) != nullptr; }
    const CanvasCall* Find(int page, const std::string& text) const {
        for (const CanvasCall& c : pages.at(static_cast<std::size_t>(page)).calls)
            if (c.kind == CanvasCall::Text && c.text == text)
                return &c;
        return nullptr;
    }
};

Drawn Draw(const std::vector<ReportWaveform>& w, const ReportOptions& o,
           PaperKind paper = PaperKind::A4) {
    Drawn d;
    RecordingCanvas measure;
    ReportPaper size = PaperPixels(paper);
    d.layout = LayOutReport(measure, size, w.size());
    d.pages.resize(static_cast<std::size_t>(d.layout.pages));
    for (int i = 0; i < d.layout.pages; ++i)
        DrawReportPage(d.pages[static_cast<std::size_t>(i)], size, d.layout, w, o, i);
    return d;
}

// Every "key":number of the events' JSON line, in order.
std::vector<double> JsonNumbers(const std::string& json, const std::string& key) {
    std::vector<double> v;
    std::regex re("\"" + key + "\":(-?[0-9.]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), re); it != std::sregex_iterator();
         ++it)
        v.push_back(std::stod((*it)[1]));
    return v;
}

ReportOptions Options() {
    ReportOptions o;
    o.madeOn = "2026-12-10";
    o.technician = "Zoë Brandt";
    o.site = "Подстанция 7";
    return o;
}

TEST(ReportPages, OneWaveformPageHasHeaderGraphEventsCommentsAndFooter) {
    TraceData t = Cable({{300, 0.3}, {550, -0.2}});
    t.notes.Comments[0] = "Joint at 12 m, 5 \xB5s ok"; // µ in the file's code page
    t.notes.MoreComments = "M\xFC"
                           "ller's note\r\n" +
                           std::string(400, 'x');
    const ReportOptions o = Options();
    for (PaperKind paper : {PaperKind::A4, PaperKind::Letter}) {
        const ReportPaper size = PaperPixels(paper);
        Drawn d = Draw({Page(t, "A.KEL")}, o, paper);
        ASSERT_EQ(d.layout.pages, 1) << "a single waveform has no summary";
        const int m = size.width / 15;
        const CanvasCall* title = d.Find(0, kDefaultReportTitle);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->x1, m);
        EXPECT_EQ(title->y1, m);
        for (const char* text : {"Подстанция 7", "FEEDER 1", "2026-12-01 09:30", "Zoë Brandt",
                                 "A.KEL", "10 ns", "PVF 0.660", "Joint at 12 m, 5 µs ok",
                                 "Müller's note", "Page 1 of 1", kMainCaption, "Made 2026-12-10"})
            EXPECT_TRUE(d.Has(0, text)) << text;

        // The frame spans the page's width inside the margins, under the header.
        const auto lines = d.pages[0].Of(CanvasCall::Line);
        auto frame = std::find_if(lines.begin(), lines.end(), [&](const CanvasCall& c) {
            return c.x1 == m - 1 && c.x2 == size.width - m + 1 && c.y1 == c.y2;
        });
        ASSERT_NE(frame, lines.end());
        EXPECT_GT(frame->y1, title->y2 + 4 * RecordingCanvas::kTextHeight);

        // Cursors where "Find fault" puts them: their readouts are the launch and the largest.
        const TraceAnalysis a = AnalyseTrace(t);
        ASSERT_GE(a.largest, 0);
        const double largest = a.events[static_cast<std::size_t>(a.largest)].onsetNs;
        EXPECT_TRUE(d.Has(0, FormatAxisValue(660, AxisMetres, LaunchCursorNs(a))));
        EXPECT_TRUE(d.Has(0, FormatAxisValue(660, AxisMetres, largest)));

        // Everything above the footer, nothing past the right margin.
        const int footer = d.Find(0, "Page 1 of 1")->y1;
        for (const CanvasCall& c : d.pages[0].Of(CanvasCall::Text)) {
            EXPECT_LE(c.x2, size.width - m + 1) << c.text;
            const bool inFooter = c.y1 == footer;
            EXPECT_TRUE(inFooter || c.y2 < footer) << c.text;
        }
    }
}

TEST(ReportPages, EventsAgreeWithTheEventsCommandToThePrintedDecimals) {
    const TraceData t = Cable({{250, 0.25}, {420, -0.3}, {640, 0.15}}, 3);
    for (int units : {AxisMetres, AxisFeet}) {
        ReportOptions o = Options();
        o.units = units;
        Drawn d = Draw({Page(t, "B.KEL")}, o);
        const std::string json = EventsJson("B.KEL", AnalyseTrace(t), {660, units, false}, nullptr);
        const std::vector<double> dist = JsonNumbers(json, "distance");
        const std::vector<double> rl = JsonNumbers(json, "return_loss_db");
        ASSERT_GE(dist.size(), 3u);
        ASSERT_EQ(dist.size(), rl.size());
        const std::string unit = units == AxisFeet ? " ft" : " m";
        for (std::size_t i = 0; i < dist.size(); ++i) {
            char want[64];
            std::snprintf(want, sizeof want, "%.2f", dist[i]);
            const CanvasCall* number = d.Find(0, std::to_string(i + 1));
            const CanvasCall* distance = d.Find(0, want + unit);
            ASSERT_NE(distance, nullptr) << want << unit;
            ASSERT_NE(number, nullptr);
            EXPECT_EQ(distance->y1, number->y1) << "one row per event";
            std::snprintf(want, sizeof want, "%.2f dB", rl[i]);
            EXPECT_TRUE(d.Has(0, want)) << want;
        }
        EXPECT_TRUE(d.Has(0, "largest"));
        EXPECT_TRUE(d.Has(0, "open-like"));
        EXPECT_TRUE(d.Has(0, "short-like"));
    }
}

TEST(ReportPages, SeveralWaveformsStartWithASummaryThatTurnsOverWhenFull) {
    const ReportOptions o = Options();
    // Rows: waveform count, summary pages expected.
    for (int n : {3, 48}) {
        std::vector<ReportWaveform> w;
        for (int i = 0; i < n; ++i)
            w.push_back(Page(Cable({{300.0 + 5 * i, 0.4}}, static_cast<unsigned>(i + 1),
                                   "C" + std::to_string(i + 1)),
                             "W" + std::to_string(i + 1) + ".KEL"));
        Drawn d = Draw(w, o);
        const int summary = d.layout.summaryPages;
        ASSERT_GE(summary, 1);
        EXPECT_EQ(d.layout.pages, summary + n);
        EXPECT_EQ(summary, (n + d.layout.summaryRowsPerPage - 1) / d.layout.summaryRowsPerPage);
        // Every waveform has its summary row once, and a page of its own after the summary.
        for (int i = 0; i < n; ++i) {
            const std::string id = "C" + std::to_string(i + 1);
            int rows = 0;
            for (int p = 0; p < summary; ++p)
                rows += d.Has(p, id);
            EXPECT_EQ(rows, 1) << id;
            EXPECT_TRUE(d.Has(summary + i, id)) << id;
            EXPECT_TRUE(d.Has(summary + i, "Page " + std::to_string(summary + i + 1) + " of " +
                                               std::to_string(summary + n)));
        }
        EXPECT_TRUE(d.Has(0, "Largest at"));
        EXPECT_TRUE(d.Has(0, std::to_string(n)) && d.Has(0, "Waveforms"));
    }
}

TEST(ReportPages, BaselineIsDrawnUnderTheWaveformWithTheFirstChange) {
    const TraceData healthy = Cable({{600, 0.5}}, 1);
    struct Row {
        TraceData now;
        std::string line; // "" when the first change is expected
    };
    const Row rows[] = {
        {Cable({{350, -0.3}, {600, 0.5}}, 2), ""},
        {healthy, "No change since the baseline of 2026-01-05"},
    };
    for (const Row& r : rows) {
        ReportWaveform w = Page(r.now, "NOW.KEL");
        w.baseline = ReportBaseline{healthy, "2026-01-05", CompareWithReference(r.now, healthy)};
        Drawn d = Draw({w}, Options());
        std::string want = r.line;
        if (want.empty()) {
            const std::string json =
                EventsJson("NOW.KEL", AnalyseTrace(r.now), {660, 1, true}, &w.baseline->change);
            const auto at = JsonNumbers(json.substr(json.find("first_change")), "distance");
            ASSERT_EQ(at.size(), 1u) << json;
            char d2[32];
            std::snprintf(d2, sizeof d2, "%.2f", at[0]);
            want = std::string("First change since the baseline of 2026-01-05: at ") + d2 + " m";
        }
        EXPECT_TRUE(d.Has(0, want)) << want;
        const auto lines = d.pages[0].Of(CanvasCall::Line);
        auto coloured = [&](Colour c, PenStyle s) {
            return std::count_if(lines.begin(), lines.end(), [&](const CanvasCall& l) {
                return l.colour == c && l.style == s;
            });
        };
        EXPECT_GT(coloured({0, 128, 0}, PenStyle::Solid), 100) << "the baseline, in green";
        EXPECT_EQ(coloured({192, 0, 192}, PenStyle::Dash), r.line.empty() ? 1 : 0)
            << "the first change's line";
    }
}

} // namespace
} // namespace r470
