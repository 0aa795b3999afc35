// tdrtool locate-both: a fault located from the two ends of a cable of known length, as
// "Fault from both ends..." in the window locates it, without the velocity factor.
#include "analysis/both_ends.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_units.h"
#include "common/cp1252.h"
#include "common/numbers.h"
#include "output/picture_job.h"
#include "waveform/trace_file.h"

namespace tdrtool {

std::string LocateBothHelp() {
    return "Usage: tdrtool locate-both A.KEL B.KEL --length L [--units feet|metres]\n"
           "       [--at-a NS] [--at-b NS] [--json]\n"
           "Locates a fault from waveforms taken at the two ends A and B of a cable whose\n"
           "length is known, without its velocity factor: with tA and tB the times from each\n"
           "launch to the fault, it lies L x tA / (tA + tB) from A. Prints the distance from\n"
           "each end and the velocity factor the pair implies (\"PVF 0.662\"). A pair whose\n"
           "times cannot add up to L at any factor from 0.300 to 0.999 is refused on\n"
           "standard error with exit status 1.\n"
           "  --length L          the cable's length, greater than 0\n"
           "  --units U           feet or metres, the unit of L and of the answers (metres)\n"
           "  --at-a NS           the fault's time on A (from its first sample, as events'\n"
           "                      time_ns); the largest event otherwise\n"
           "  --at-b NS           the same on B\n"
           "  --json              one object: from_a, from_b, pvf, units, t_a_ns, t_b_ns\n";
}

namespace {

// The two-way time from the launch to the fault on one file, or its problem told.
std::optional<double> FaultTime(const std::string& file, std::optional<double> at) {
    r470::TraceData trace;
    int state = r470::ReadTraceFile(file, trace);
    if (state != r470::LoadOk) {
        std::cerr << "tdrtool locate-both: " << file << ": "
                  << r470::Cp1252ToUtf8(r470::LoadStateText(state)) << "\n";
        return std::nullopt;
    }
    r470::TraceAnalysis a = r470::AnalyseTrace(trace);
    std::optional<double> t = r470::FaultTimeFromLaunch(a, at);
    if (!t)
        std::cerr << "tdrtool locate-both: " << file << ": "
                  << (a.hasLaunch ? "no reflection stands above the noise"
                                  : "no launched pulse found")
                  << "\n";
    return t;
}

} // namespace

int RunLocateBoth(const Args& args) {
    Args files;
    LengthOption length;
    std::optional<double> atA, atB;
    bool json = false;
    std::optional<int> end = ReadArgs(
        args, LocateBothHelp(), &files,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (name == "--json") {
                json = true;
                return std::nullopt;
            }
            if (!LengthOption::Takes(name) && name != "--at-a" && name != "--at-b")
                return UsageError("locate-both", "unknown option \"" + name + "\"",
                                  LocateBothHelp());
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("locate-both", "\"" + name + "\" needs a value",
                                  LocateBothHelp());
            bool ok = true;
            if (LengthOption::Takes(name)) {
                ok = length.Read(name, *value);
            } else {
                std::optional<double> t = ParseNumber<double>(*value, 0, r470::kMaxCursorNs);
                ok = t.has_value();
                (name == "--at-a" ? atA : atB) = t;
            }
            if (!ok)
                return UsageError("locate-both", "bad value \"" + *value + "\" for " + name,
                                  LocateBothHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    if (files.size() != 2)
        return UsageError("locate-both", "two waveform files, end A and end B", LocateBothHelp());
    if (!length.length)
        return UsageError("locate-both", "--length L is required", LocateBothHelp());

    std::optional<double> tA = FaultTime(files[0], atA);
    std::optional<double> tB = FaultTime(files[1], atB);
    if (!tA || !tB)
        return kExitFailed;
    const bool feet = length.Feet();
    r470::BothEndsFix fix = r470::LocateFromBothEnds(*length.length, feet, *tA, *tB);
    if (!fix.refusal.empty()) {
        std::cerr << "tdrtool locate-both: " << r470::Cp1252ToUtf8(fix.refusal) << "\n";
        return kExitFailed;
    }
    if (json) {
        auto num = [](double v, double scale) {
            return r470::ShortestText(std::nearbyint(v * scale) / scale);
        };
        std::cout << "{\"from_a\":" << num(fix.fromA, 1000)
                  << ",\"from_b\":" << num(fix.fromB, 1000)
                  << ",\"pvf\":" << num(fix.diel / 1000.0, 1000) << ",\"units\":\""
                  << (feet ? "feet" : "metres") << "\",\"t_a_ns\":" << num(*tA, 1000)
                  << ",\"t_b_ns\":" << num(*tB, 1000) << "}\n";
    } else {
        std::cout << r470::BothEndsText(fix, feet, "", "") << "\n";
    }
    return std::cout.flush() ? kExitOk : kExitFailed;
}

} // namespace tdrtool
