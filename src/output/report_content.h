// The cable test report's contents as plain data: what a page says about one waveform and
// what the summary says about them all. Every text here is UTF-8. Where the waveforms come
// from (files, an archive) is the caller's business: it hands each one over with what it
// knows beyond the file.
#pragma once

#include "analysis/first_change.h"
#include "waveform/trace_file.h"
#include "waveform/units.h"

#include <optional>
#include <string>
#include <vector>

namespace r470 {

// A healthy record of the same cable taken earlier, and the waveform compared with it.
struct ReportBaseline {
    TraceData trace;
    std::string date; // when it was taken, as printed
    FirstChange change;
};

struct ReportWaveform {
    std::string fileName;
    TraceData trace;
    std::string site;        // where the caller files it; the report's site otherwise
    std::string cableId;     // where the caller files it; the notes' cable ID otherwise
    std::string cableType;   // the cable the dielectric was chosen from, if any
    std::optional<int> diel; // the dielectric in use (PVF x 1000); the file's own otherwise
    std::optional<ReportBaseline> baseline;
};

extern const char* const kDefaultReportTitle; // "Cable test report"

struct ReportOptions {
    std::string title = kDefaultReportTitle;
    std::string technician;
    std::string site;
    int units = AxisMetres; // feet or metres
    std::string madeOn;     // the day the report is made, as printed
};

struct ReportField {
    std::string label, value;
};

struct ReportEventRow {
    std::string number, distance, direction, returnLoss;
    bool largest = false;
};

// One waveform's page, apart from its graph.
struct ReportSheet {
    std::vector<ReportField> identity; // site, cable, date and time, technician, file
    std::vector<ReportField> settings; // range, gain, pulse width, impedance, dielectric
    std::string eventsNote;            // what stands instead of the events, when none
    std::vector<ReportEventRow> events;
    std::string baselineLine; // empty without a baseline
    std::vector<std::string> comments;
};

struct ReportSummaryRow {
    std::string file, cable, date, distance, returnLoss, change;
};

// The dielectric the page measures with: the caller's, else the file's own, kept in range.
int ReportDiel(const ReportWaveform& w);
// A distance with two decimals and its unit: "12.35 m", "40.50 ft".
std::string ReportDistance(double value, int units);
std::string ReportCableId(const ReportWaveform& w);
std::string ReportDate(const TraceNotes& notes);

// `rangeText` and `gainText` as the display shows them for this waveform.
ReportSheet SheetFor(const ReportWaveform& w, const ReportOptions& o, const std::string& rangeText,
                     const std::string& gainText);
ReportSummaryRow SummaryRowFor(const ReportWaveform& w, const ReportOptions& o);

} // namespace r470
