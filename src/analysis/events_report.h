// What `tdrtool events` prints for one waveform file: a readable table, or one JSON object
// on one line. Output is UTF-8.
#pragma once

#include "analysis/first_change.h"
#include "analysis/trace_events.h"

#include <optional>
#include <string>

namespace r470 {

struct EventsReportOptions {
    int diel = 660; // PVF x 1000 for the distances
    int units = 1;  // X-axis unit code: feet, metres, time
    bool withReference = false;
};

// `change` is used only with a reference.
std::string EventsJson(const std::string& file, const TraceAnalysis& a,
                       const EventsReportOptions& o, const FirstChange* change);
std::string EventsTable(const std::string& file, const TraceAnalysis& a,
                        const EventsReportOptions& o, const FirstChange* change);

} // namespace r470
