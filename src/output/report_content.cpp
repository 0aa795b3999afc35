#include "output/report_content.h"

#include "analysis/return_loss_window.h"
#include "common/cp1252.h"

#include <algorithm>

namespace r470 {

const char* const kDefaultReportTitle = "Cable test report";

namespace {

std::string Utf8(const std::string& cp1252) {
    return Cp1252ToUtf8(cp1252);
}

std::string TrimmedRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    return s;
}

// The additional comments' own line breaks kept, in any of the usual forms.
void AddLines(std::vector<std::string>& out, const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back(Utf8(TrimmedRight(line)));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        out.push_back(Utf8(TrimmedRight(line)));
    while (!out.empty() && out.back().empty())
        out.pop_back();
}

std::string ChangeText(const ReportWaveform& w, const TraceAnalysis& a, int units, bool sentence) {
    if (!w.baseline)
        return "";
    const ReportBaseline& b = *w.baseline;
    if (!b.change.problem.empty())
        return sentence ? "Not compared with the baseline of " + b.date + ": " + b.change.problem
                        : "not comparable";
    const int diel = ReportDiel(w);
    if (b.change.found) {
        std::string at =
            ReportDistance(DistanceFromLaunch(a, b.change.onsetNs, diel, units), units);
        return sentence ? "First change since the baseline of " + b.date + ": at " + at
                        : "at " + at;
    }
    return sentence ? "No change since the baseline of " + b.date : "no change";
}

} // namespace

int ReportDiel(const ReportWaveform& w) {
    return std::clamp<int>(w.diel.value_or(w.trace.header.Diel), kMinDiel, kMaxDiel);
}

std::string ReportDistance(double value, int units) {
    return TwoDecimals(value) + (units == AxisFeet ? " ft" : " m");
}

std::string ReportCableId(const ReportWaveform& w) {
    return w.cableId.empty() ? Utf8(TrimmedRight(w.trace.notes.CableId)) : w.cableId;
}

std::string ReportDate(const TraceNotes& notes) {
    std::string date = TrimmedRight(notes.Date), time = TrimmedRight(notes.Time);
    return Utf8(date.empty() || time.empty() ? date + time : date + " " + time);
}

ReportSheet SheetFor(const ReportWaveform& w, const ReportOptions& o, const std::string& rangeText,
                     const std::string& gainText) {
    ReportSheet s;
    const TraceHeader& h = w.trace.header;
    const std::string site = w.site.empty() ? o.site : w.site;
    if (!site.empty())
        s.identity.push_back({"Site", site});
    s.identity.push_back({"Cable ID", ReportCableId(w)});
    s.identity.push_back({"Date and time", ReportDate(w.trace.notes)});
    if (!o.technician.empty())
        s.identity.push_back({"Technician", o.technician});
    s.identity.push_back({"File", w.fileName});

    const int diel = ReportDiel(w);
    s.settings.push_back({"Range", rangeText});
    s.settings.push_back({"Gain", gainText});
    s.settings.push_back({"Pulse width", std::to_string(h.PulseWidth) + " ns"});
    if (h.Impedance != 0)
        s.settings.push_back({"Impedance", std::to_string(h.Impedance) + " ohm"});
    std::string pvf = "PVF " + Fixed(diel / 1000.0, 3);
    s.settings.push_back({"Dielectric", w.cableType.empty() ? pvf : w.cableType + ", " + pvf});

    const TraceAnalysis a = AnalyseTrace(w.trace);
    if (!a.hasLaunch)
        s.eventsNote = "No launched pulse found";
    else if (a.events.empty())
        s.eventsNote = "No reflection stands above the noise";
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        const TraceEvent& e = a.events[i];
        s.events.push_back(
            {std::to_string(i + 1),
             ReportDistance(DistanceFromLaunch(a, e.onsetNs, diel, o.units), o.units),
             e.up ? "open-like" : "short-like", TwoDecimals(e.returnLossDb) + " dB",
             static_cast<int>(i) == a.largest});
    }
    s.baselineLine = ChangeText(w, a, o.units, true);

    for (const std::string& line : w.trace.notes.Comments)
        s.comments.push_back(Utf8(TrimmedRight(line)));
    while (!s.comments.empty() && s.comments.back().empty())
        s.comments.pop_back();
    AddLines(s.comments, w.trace.notes.MoreComments);
    return s;
}

ReportSummaryRow SummaryRowFor(const ReportWaveform& w, const ReportOptions& o) {
    ReportSummaryRow r{w.fileName, ReportCableId(w), ReportDate(w.trace.notes), "none", "", ""};
    const TraceAnalysis a = AnalyseTrace(w.trace);
    if (a.largest >= 0) {
        const TraceEvent& e = a.events[static_cast<std::size_t>(a.largest)];
        r.distance =
            ReportDistance(DistanceFromLaunch(a, e.onsetNs, ReportDiel(w), o.units), o.units);
        r.returnLoss = TwoDecimals(e.returnLossDb) + " dB";
    }
    r.change = ChangeText(w, a, o.units, false);
    return r;
}

} // namespace r470
