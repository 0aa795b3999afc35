// tdrtool events: the reflections of waveform files, their distances from the launch, and
// with a reference the first place where a cable now differs from it.
#include "analysis/events_report.h"
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_units.h"
#include "common/cp1252.h"
#include "waveform/trace_file.h"
#include "waveform/units.h"

namespace tdrtool {

std::string EventsHelp() {
    return "Usage: tdrtool events FILE... [--reference FILE] [--json] [--units U]\n"
           "       [--diel D | --cable NAME]\n"
           "Finds the launched pulse and every reflection that stands clearly above the\n"
           "noise: its distance from the launch, polarity (up: open-like, down: short-like),\n"
           "amplitude and return loss (what \"dBRL\" shows with cursor 1 on the launch and\n"
           "cursor 2 on the event); the largest is marked. With --reference, also the first\n"
           "place where each file differs from that healthy record.\n"
           "  --reference FILE    a record of the same cable taken earlier\n"
           "  --json              one JSON object per file, one per line\n"
           "  --units U           feet, metres or time (metres)\n"
           "  --cable NAME        the velocity factor of a cable of \"tdrtool cables\"\n"
           "  --diel D            dielectric, velocity factor x 1000, 300 to 999 (each\n"
           "                      file's own)\n";
}

namespace {

// The file read, or its problem told on standard error.
bool Read(const std::string& file, r470::TraceData& into) {
    int state = r470::ReadTraceFile(file, into);
    if (state == r470::LoadOk)
        return true;
    std::cerr << "tdrtool events: " << file << ": "
              << r470::Cp1252ToUtf8(r470::LoadStateText(state)) << "\n";
    return false;
}

} // namespace

int RunEvents(const Args& args) {
    Args files;
    std::string reference;
    bool json = false;
    r470::EventsReportOptions o;
    DielOption diel;
    std::optional<int> end = ReadArgs(
        args, EventsHelp(), &files,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (name == "--json") {
                json = true;
                return std::nullopt;
            }
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("events", "\"" + name + "\" needs a value", EventsHelp());
            bool ok = true;
            if (name == "--reference") {
                reference = *value;
                ok = !reference.empty();
            } else if (name == "--units") {
                auto units = ParseAxisUnits(*value);
                ok = units.has_value();
                o.units = units.value_or(r470::AxisMetres);
            } else if (DielOption::Takes(name)) {
                return diel.Read("events", name, *value, EventsHelp());
            } else {
                return UsageError("events", "unknown option \"" + name + "\"", EventsHelp());
            }
            if (!ok)
                return UsageError("events", "bad value \"" + *value + "\" for " + name,
                                  EventsHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    if (files.empty())
        return UsageError("events", "no waveform file given", EventsHelp());

    r470::TraceData ref;
    o.withReference = !reference.empty();
    if (o.withReference && !Read(reference, ref))
        return kExitFailed;
    int status = kExitOk;
    for (const std::string& file : files) {
        r470::TraceData trace;
        if (!Read(file, trace)) {
            status = kExitFailed;
            continue;
        }
        r470::FirstChange change;
        if (o.withReference) {
            change = r470::CompareWithReference(trace, ref);
            if (!change.problem.empty()) {
                std::cerr << "tdrtool events: " << file << ": cannot compare with " << reference
                          << ": " << change.problem << "\n";
                status = kExitFailed;
                continue;
            }
        }
        r470::TraceAnalysis a = r470::AnalyseTrace(trace);
        o.diel =
            diel.diel.value_or(std::clamp<int>(trace.header.Diel, r470::kMinDiel, r470::kMaxDiel));
        if (json)
            std::cout << r470::EventsJson(file, a, o, &change) << "\n";
        else
            std::cout << r470::EventsTable(file, a, o, &change);
    }
    return status;
}

} // namespace tdrtool
