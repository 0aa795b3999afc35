#include "output/report_pages.h"

#include "display/display.h"
#include "display/fault_cursors.h"
#include "display/label_source.h"
#include "output/output_commands.h"
#include "shell/program.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace r470 {

namespace {

constexpr Colour kChangeColour{192, 0, 192};
const char* const kEllipsis = "\xE2\x80\xA6";

// The display draws its printed page from the sheet's top margin; the report moves it down
// under the header.
class ShiftedCanvas : public Canvas {
  public:
    ShiftedCanvas(Canvas& c, int dx, int dy) : c_(c), dx_(dx), dy_(dy) {}
    void SetPenColour(Colour c) override { c_.SetPenColour(c); }
    Colour PenColour() const override { return c_.PenColour(); }
    void SetPenStyle(PenStyle s) override { c_.SetPenStyle(s); }
    PenStyle GetPenStyle() const override { return c_.GetPenStyle(); }
    void MoveTo(int x, int y) override { c_.MoveTo(x + dx_, y + dy_); }
    void LineTo(int x, int y) override { c_.LineTo(x + dx_, y + dy_); }
    void Rectangle(int x1, int y1, int x2, int y2) override {
        c_.Rectangle(x1 + dx_, y1 + dy_, x2 + dx_, y2 + dy_);
    }
    void TextOut(int x, int y, const std::string& t) override { c_.TextOut(x + dx_, y + dy_, t); }
    int TextWidth(const std::string& t) override { return c_.TextWidth(t); }
    int TextHeight(const std::string& t) override { return c_.TextHeight(t); }
    void SetFont(const std::string& n, int size, Colour c) override { c_.SetFont(n, size, c); }
    void SetFontColour(Colour c) override { c_.SetFontColour(c); }
    Colour FontColour() const override { return c_.FontColour(); }

  private:
    Canvas& c_;
    int dx_, dy_;
};

// One waveform in slot 1, selected and so drawn last, its baseline in slot 2 under it, the
// cursors where "Find fault" puts them: the display of the window, drawn on a page.
class PageGraph {
  public:
    PageGraph(const ReportWaveform& w, int units, Canvas& canvas, int pageWidth)
        : display_(session_, canvas, labels_), baseline_(w.baseline) {
        session_.settings.XAxisUnits = static_cast<std::int16_t>(units);
        session_.settings.DielUnits = DielPvf;
        session_.target = OutputTarget::Printer;
        TraceData wave = w.trace;
        wave.header.Diel = static_cast<std::uint16_t>(ReportDiel(w));
        Put(1, wave, w.fileName);
        if (w.baseline)
            Put(2, w.baseline->trace, "");
        session_.set.CurTrace = 1;
        display_.SeedFromFirstWaveform(1);
        DrawSurface page;
        page.pageWidth = pageWidth;
        display_.SetSurface(page);
        FaultTargets t = FindFaultTargets(session_.set);
        if (t.found)
            PlaceCursors(display_, t.cursor1Ns, t.cursor2Ns, t.bodyEndNs);
    }

    std::string RangeText() const {
        return FormatAxisValue(session_.DisplayDiel, session_.settings.XAxisUnits,
                               display_.state().RangeNs);
    }
    std::string GainText() const { return display_.GainText(1); }

    // Draws the graph with its frame's top at `top`; answers the y below its readout line.
    int Draw(Canvas& canvas, int top) {
        const int dy = top - display_.Surface().pageWidth / 15;
        ShiftedCanvas shifted(canvas, 0, dy);
        display_.SetCanvas(shifted);
        display_.SetDrawParam();
        display_.RedrawTraces();
        display_.RangeText();
        display_.ShowRange(kBlack);
        display_.DrawCursors(true);
        display_.ShowDiel(kBlack);
        const DisplayState& s = display_.state();
        if (baseline_ && baseline_->change.found && baseline_->change.problem.empty()) {
            const int x = display_.MapNsToX(baseline_->change.onsetNs);
            shifted.SetPenColour(kChangeColour);
            shifted.SetPenStyle(PenStyle::Dash);
            shifted.MoveTo(x, s.GraphTop);
            shifted.LineTo(x, s.TraceBottom);
            shifted.SetPenStyle(PenStyle::Solid);
            shifted.SetPenColour(kBlack);
        }
        return s.GraphBottom + 1 + dy;
    }

  private:
    void Put(int n, const TraceData& data, const std::string& name) {
        TraceSlot& slot = session_.set.Slot(n);
        slot.data = data;
        slot.Loaded = slot.Shown = true;
        slot.NsPerSample = SampleIntervalNs(data.header);
        slot.FileName = name;
        session_.set.TraceCount++;
    }

    Workspace session_;
    LabelBook labels_;
    Display display_;
    const std::optional<ReportBaseline>& baseline_;
};

std::size_t CodePoints(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The text's first `n` characters.
std::string FirstChars(const std::string& s, std::size_t n) {
    std::size_t i = 0;
    for (; i < s.size(); ++i)
        if ((s[i] & 0xC0) != 0x80 && n-- == 0)
            break;
    return s.substr(0, i);
}

// Cut to `width` with an ellipsis where it would run into the next column.
std::string Fit(Canvas& c, const std::string& text, int width) {
    if (c.TextWidthUtf8(text) <= width)
        return text;
    for (std::size_t n = CodePoints(text); n > 0; --n) {
        std::string cut = FirstChars(text, n - 1) + kEllipsis;
        if (c.TextWidthUtf8(cut) <= width)
            return cut;
    }
    return "";
}

// Broken at spaces into lines no wider than `width`; a word wider than that is cut.
std::vector<std::string> Wrap(Canvas& c, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t space = text.find(' ', pos);
        std::string word =
            text.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
        std::string joined = line.empty() ? word : line + " " + word;
        if (c.TextWidthUtf8(joined) <= width) {
            line = joined;
        } else {
            if (!line.empty())
                lines.push_back(line);
            line = word;
            while (c.TextWidthUtf8(line) > width && CodePoints(line) > 1) {
                std::size_t n = CodePoints(line);
                while (n > 1 && c.TextWidthUtf8(FirstChars(line, n)) > width)
                    --n;
                lines.push_back(FirstChars(line, n));
                line = line.substr(FirstChars(line, n).size());
            }
        }
        if (space == std::string::npos)
            break;
        pos = space + 1;
    }
    lines.push_back(line);
    return lines;
}

void Font(Canvas& c, int size) {
    c.SetFont("Arial", size, kBlack);
}

int ContentBottom(const ReportPaper& paper, const ReportLayout& l) {
    return paper.height - l.margin - l.lineHeight;
}

// Title at the top; answers the y under it.
int DrawTitle(Canvas& c, const ReportPaper& paper, const ReportLayout& l, const ReportOptions& o) {
    Font(c, 14);
    c.TextOutUtf8(l.margin, l.margin, Fit(c, o.title, paper.width - 2 * l.margin));
    Font(c, 10);
    return l.margin + l.titleHeight + l.lineHeight / 2;
}

void DrawFooter(Canvas& c, const ReportPaper& paper, const ReportLayout& l, const ReportOptions& o,
                int index) {
    const int y = paper.height - l.margin;
    c.SetPenColour(kBlack);
    c.MoveTo(l.margin, y - l.lineHeight / 4);
    c.LineTo(paper.width - l.margin, y - l.lineHeight / 4);
    c.TextOutUtf8(l.margin, y,
                  "Page " + std::to_string(index + 1) + " of " + std::to_string(l.pages));
    const std::string program = kMainCaption;
    c.TextOutUtf8((paper.width - c.TextWidthUtf8(program)) / 2, y, program);
    const std::string made = "Made " + o.madeOn;
    c.TextOutUtf8(paper.width - l.margin - c.TextWidthUtf8(made), y, made);
}

// Label and value pairs in a column from `y`; answers the y under them.
int DrawFields(Canvas& c, const ReportLayout& l, int x, int y, int width,
               const std::vector<ReportField>& fields, int labelWidth) {
    for (const ReportField& f : fields) {
        c.TextOutUtf8(x, y, f.label);
        c.TextOutUtf8(x + labelWidth, y, Fit(c, f.value, width - labelWidth));
        y += l.lineHeight;
    }
    return y;
}

std::vector<ReportField> SummaryHeader(const std::vector<ReportWaveform>& w,
                                       const ReportOptions& o) {
    std::vector<ReportField> f;
    if (!o.site.empty())
        f.push_back({"Site", o.site});
    if (!o.technician.empty())
        f.push_back({"Technician", o.technician});
    f.push_back({"Waveforms", std::to_string(w.size())});
    return f;
}

int SummaryTableTop(const ReportLayout& l, std::size_t headerRows) {
    return l.margin + l.titleHeight + l.lineHeight / 2 +
           static_cast<int>(headerRows + 1) * l.lineHeight;
}

void DrawSummaryPage(Canvas& c, const ReportPaper& paper, const ReportLayout& l,
                     const std::vector<ReportWaveform>& w, const ReportOptions& o, int index) {
    int y = DrawTitle(c, paper, l, o);
    std::vector<ReportField> header = SummaryHeader(w, o);
    DrawFields(c, l, l.margin, y, paper.width - 2 * l.margin, header,
               c.TextWidthUtf8("Technician   "));
    y = SummaryTableTop(l, header.size());
    const int width = paper.width - 2 * l.margin;
    // Shares of the width: number, file, cable, date, distance, return loss, change.
    const double shares[] = {0.04, 0.16, 0.16, 0.22, 0.15, 0.12, 0.15};
    int xs[8];
    xs[0] = l.margin;
    for (int i = 0; i < 7; ++i)
        xs[i + 1] = xs[i] + static_cast<int>(std::lround(width * shares[i]));
    auto row = [&](const std::array<std::string, 7>& cells) {
        for (int i = 0; i < 7; ++i)
            c.TextOutUtf8(
                xs[i], y,
                Fit(c, cells[static_cast<std::size_t>(i)], xs[i + 1] - xs[i] - l.lineHeight / 2));
        y += l.lineHeight;
    };
    row({"#", "File", "Cable ID", "Date and time", "Largest at", "Return loss", "Change"});
    c.MoveTo(l.margin, y - l.lineHeight / 8);
    c.LineTo(paper.width - l.margin, y - l.lineHeight / 8);
    const std::size_t first = static_cast<std::size_t>(index * l.summaryRowsPerPage);
    const std::size_t end =
        std::min(w.size(), first + static_cast<std::size_t>(l.summaryRowsPerPage));
    for (std::size_t i = first; i < end; ++i) {
        ReportSummaryRow r = SummaryRowFor(w[i], o);
        row({std::to_string(i + 1), r.file, r.cable, r.date, r.distance, r.returnLoss, r.change});
    }
}

void DrawWaveformPage(Canvas& c, const ReportPaper& paper, const ReportLayout& l,
                      const ReportWaveform& w, const ReportOptions& o) {
    PageGraph graph(w, o.units, c, paper.width);
    const ReportSheet sheet = SheetFor(w, o, graph.RangeText(), graph.GainText());
    const int width = paper.width - 2 * l.margin;
    int y = DrawTitle(c, paper, l, o);
    const int labelWidth = c.TextWidthUtf8("Date and time   ");
    const int half = width / 2;
    int left = DrawFields(c, l, l.margin, y, half, sheet.identity, labelWidth);
    int right = DrawFields(c, l, l.margin + half, y, width - half, sheet.settings,
                           c.TextWidthUtf8("Pulse width   "));
    y = std::max(left, right) + l.lineHeight;

    y = graph.Draw(c, y) + l.lineHeight / 2;
    Font(c, 10);
    c.SetPenColour(kBlack);
    if (w.baseline) {
        c.TextOutUtf8(l.margin, y, Fit(c, sheet.baselineLine, width));
        y += l.lineHeight;
        c.TextOutUtf8(l.margin, y,
                      Fit(c,
                          "Drawn: this test in red on top of the baseline in green; the "
                          "first change as a dashed line.",
                          width));
        y += l.lineHeight;
    }
    y += l.lineHeight / 2;

    // The comments keep at least their heading and a few lines; the events take the rest.
    const int bottom = ContentBottom(paper, l);
    const int commentLines = std::min<int>(static_cast<int>(sheet.comments.size()), 5) + 2;
    c.TextOutUtf8(l.margin, y, "Reflections");
    y += l.lineHeight;
    const int xs[] = {l.margin, l.margin + c.TextWidthUtf8("0000  "),
                      l.margin + c.TextWidthUtf8("0000  00000.00 ft    "),
                      l.margin + c.TextWidthUtf8("0000  00000.00 ft    short-like    "),
                      l.margin +
                          c.TextWidthUtf8("0000  00000.00 ft    short-like    000.00 dB    ")};
    if (!sheet.eventsNote.empty()) {
        c.TextOutUtf8(l.margin, y, sheet.eventsNote);
        y += l.lineHeight;
    } else {
        const std::string heads[] = {"#", "Distance", "Direction", "Return loss", ""};
        for (int i = 0; i < 5; ++i)
            c.TextOutUtf8(xs[i], y, heads[i]);
        y += l.lineHeight;
        const int room = std::max(1, (bottom - y) / l.lineHeight - commentLines);
        const std::size_t shown = sheet.events.size() <= static_cast<std::size_t>(room)
                                      ? sheet.events.size()
                                      : static_cast<std::size_t>(std::max(0, room - 1));
        for (std::size_t i = 0; i < shown; ++i) {
            const ReportEventRow& e = sheet.events[i];
            const std::string cells[] = {e.number, e.distance, e.direction, e.returnLoss,
                                         e.largest ? "largest" : ""};
            for (int k = 0; k < 5; ++k)
                c.TextOutUtf8(xs[k], y, cells[k]);
            y += l.lineHeight;
        }
        if (shown < sheet.events.size()) {
            c.TextOutUtf8(l.margin, y,
                          std::to_string(sheet.events.size() - shown) +
                              " more reflections further out: \"tdrtool events\" lists them all");
            y += l.lineHeight;
        }
    }
    y += l.lineHeight / 2;

    if (sheet.comments.empty())
        return;
    c.TextOutUtf8(l.margin, y, "Comments");
    y += l.lineHeight;
    std::vector<std::string> lines;
    for (const std::string& text : sheet.comments)
        for (std::string& line : Wrap(c, text, width))
            lines.push_back(std::move(line));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool last = y + 2 * l.lineHeight > bottom;
        if (last && i + 1 < lines.size()) {
            c.TextOutUtf8(l.margin, y, Fit(c, lines[i] + kEllipsis, width));
            break;
        }
        c.TextOutUtf8(l.margin, y, lines[i]);
        y += l.lineHeight;
    }
}

} // namespace

PaperKind DefaultPaper(bool localeMeasuresInInches) {
    return localeMeasuresInInches ? PaperKind::Letter : PaperKind::A4;
}

ReportPaper PaperPixels(PaperKind kind, int dpi) {
    // The sheet in millimetres, as a printer driver reports it.
    const double mm[2][2] = {{210, 297}, {215.9, 279.4}};
    const auto* size = mm[kind == PaperKind::A4 ? 0 : 1];
    return {static_cast<int>(std::floor(size[0] / 25.4 * dpi + 1e-6)),
            static_cast<int>(std::floor(size[1] / 25.4 * dpi + 1e-6))};
}

ReportLayout LayOutReport(Canvas& canvas, const ReportPaper& paper, std::size_t waveforms) {
    ReportLayout l;
    l.margin = paper.width / 15;
    Font(canvas, 14);
    l.titleHeight = canvas.TextHeight("M");
    Font(canvas, 10);
    l.lineHeight = canvas.TextHeight("M");
    // Site, technician and count above the table, whichever are given: room for all three.
    const int top = SummaryTableTop(l, 3) + l.lineHeight;
    l.summaryRowsPerPage = std::max(1, (ContentBottom(paper, l) - top) / l.lineHeight);
    const int n = static_cast<int>(waveforms);
    l.summaryPages = n > 1 ? (n + l.summaryRowsPerPage - 1) / l.summaryRowsPerPage : 0;
    l.pages = l.summaryPages + n;
    return l;
}

void DrawReportPage(Canvas& canvas, const ReportPaper& paper, const ReportLayout& layout,
                    const std::vector<ReportWaveform>& waveforms, const ReportOptions& options,
                    int index) {
    Font(canvas, 10);
    if (index < layout.summaryPages)
        DrawSummaryPage(canvas, paper, layout, waveforms, options, index);
    else
        DrawWaveformPage(canvas, paper, layout,
                         waveforms.at(static_cast<std::size_t>(index - layout.summaryPages)),
                         options);
    Font(canvas, 10);
    DrawFooter(canvas, paper, layout, options, index);
}

bool DrawReport(Canvas& canvas, const ReportPaper& paper,
                const std::vector<ReportWaveform>& waveforms, const ReportOptions& options,
                const std::function<bool()>& newPage) {
    const ReportLayout layout = LayOutReport(canvas, paper, waveforms.size());
    for (int i = 0; i < layout.pages; ++i) {
        if (i > 0 && !newPage())
            return false;
        DrawReportPage(canvas, paper, layout, waveforms, options, i);
    }
    return true;
}

std::string PrintReport(PrinterPort& port, const ReportPaper& paper,
                        const std::vector<ReportWaveform>& waveforms,
                        const ReportOptions& options) {
    if (waveforms.empty())
        return "no waveform for the report";
    std::string error = port.BeginJob();
    if (!error.empty())
        return error;
    bool drawn = DrawReport(port.PageCanvas(), paper, waveforms, options, [&] {
        error = port.NewPage();
        return error.empty();
    });
    if (!drawn) {
        port.AbortJob();
        return error;
    }
    return port.EndJob();
}

} // namespace r470
