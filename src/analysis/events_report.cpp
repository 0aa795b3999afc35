#include "analysis/events_report.h"

#include "analysis/return_loss_window.h"
#include "common/cp1252.h"
#include "common/numbers.h"
#include "waveform/trace_info.h"
#include "waveform/units.h"

#include <cmath>
#include <cstdio>

namespace r470 {

namespace {

// Enough decimals for any use, none that only show the arithmetic's last bits.
std::string Num(double v, int decimals) {
    double scale = std::pow(10.0, decimals);
    double r = std::nearbyint(v * scale) / scale;
    return ShortestText(r == 0 ? 0.0 : r);
}

std::string Padded(std::string s, std::size_t width) {
    if (s.size() < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

std::string Fixed1(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

std::string AxisText(const EventsReportOptions& o, double ns) {
    return Cp1252ToUtf8(FormatAxisValue(o.diel, o.units, ns));
}

} // namespace

std::string EventsJson(const std::string& file, const TraceAnalysis& a,
                       const EventsReportOptions& o, const FirstChange* change) {
    std::string s = "{\"file\":" + JsonQuoteFileName(file);
    // Where "Find fault" puts cursor 1, so that dbrl takes it; distances count from the onset.
    s += ",\"launch_ns\":" + (a.hasLaunch ? Num(LaunchCursorNs(a), 3) : std::string("null"));
    s += ",\"launch_onset_ns\":" + (a.hasLaunch ? Num(a.launchOnsetNs, 3) : std::string("null"));
    s += ",\"noise\":" + Num(a.noise, 3) + ",\"events\":[";
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        const TraceEvent& e = a.events[i];
        s += i ? ",{" : "{";
        s += "\"time_ns\":" + Num(e.onsetNs, 3);
        s += ",\"peak_ns\":" + Num(e.peakNs, 3);
        s += ",\"distance\":" + Num(DistanceFromLaunch(a, e.onsetNs, o.diel, o.units), 3);
        s += std::string(",\"polarity\":") + (e.up ? "\"up\"" : "\"down\"");
        s += ",\"amplitude\":" + Num(e.amplitude, 2);
        s += ",\"reflection\":" + Num(e.reflection, 4);
        s += ",\"return_loss_db\":" + TwoDecimals(e.returnLossDb) + "}";
    }
    s += "],\"largest\":" + (a.largest >= 0 ? std::to_string(a.largest) : std::string("null"));
    if (o.withReference) {
        s += ",\"first_change\":";
        if (change && change->found)
            s += "{\"time_ns\":" + Num(change->onsetNs, 3) + ",\"distance\":" +
                 Num(DistanceFromLaunch(a, change->onsetNs, o.diel, o.units), 3) + "}";
        else
            s += "null";
    }
    return s + "}";
}

std::string EventsTable(const std::string& file, const TraceAnalysis& a,
                        const EventsReportOptions& o, const FirstChange* change) {
    std::string s = file + "\n";
    if (!a.hasLaunch)
        return s + "  no launched pulse found (noise " + Num(a.noise, 2) + ")\n";
    s += "  launch at " + AxisText({o.diel, AxisTime, false}, a.launchOnsetNs) + ", amplitude " +
         Fixed1(a.launchAmplitude) + ", noise " + Num(a.noise, 2) + "\n";
    if (a.events.empty())
        s += "  no reflection stands above the noise\n";
    else
        s += "   #  distance  polarity  amplitude  return loss\n";
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        const TraceEvent& e = a.events[i];
        s += Padded(std::to_string(i + 1), 4) + "  " +
             Padded(AxisText(o, e.onsetNs - a.launchOnsetNs), 8) + "  " +
             Padded(e.up ? "up" : "down", 8) + "  " + Padded(Fixed1(e.amplitude), 9) + "  " +
             Padded(TwoDecimals(e.returnLossDb) + " dB", 11) +
             (static_cast<int>(i) == a.largest ? "  largest" : "") + "\n";
    }
    if (o.withReference) {
        if (change && change->found)
            s += "  first change at " + AxisText(o, change->onsetNs - a.launchOnsetNs) + "\n";
        else
            s += "  no change from the reference stands above the noise\n";
    }
    return s;
}

} // namespace r470
