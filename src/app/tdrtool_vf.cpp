// tdrtool vf: the velocity factor of a cable from a piece of known length, timed between
// two cursors as the window's "From known length" times it.
#include "analysis/cable_library.h"
#include "analysis/vf_known_length.h"
#include "app/tdrtool_cli.h"
#include "app/tdrtool_load.h"
#include "app/tdrtool_units.h"
#include "common/cp1252.h"
#include "display/fault_cursors.h"
#include "output/picture_job.h"
#include "shell/messages.h"

#include <cmath>

namespace tdrtool {

namespace {
constexpr int kOutOfTraceRefusal = 137; // "Both cursors must be within trace range"
}

std::string VfHelp() {
    return "Usage: tdrtool vf FILE --length L [--units feet|metres] (--cursors NS1,NS2 | "
           "--auto)\n"
           "The velocity factor of the cable of a waveform file, from a piece of it whose\n"
           "length is known: cursor 1 on the launch, cursor 2 on the far end. Prints it as\n"
           "\"PVF 0.662\" (three decimals). A length and time that give a factor outside\n"
           "0.300 to 0.999 are refused on standard error with exit status 1.\n"
           "  --length L          the piece's length, greater than 0\n"
           "  --units U           feet or metres, the unit of L (metres)\n"
           "  --cursors NS1,NS2   the cursor times in ns, within the waveform\n"
           "  --auto              from the launch to the largest reflection, as \"Find\n"
           "                      fault\" puts the cursors\n";
}

int RunVf(const Args& args) {
    std::string file;
    LengthOption length;
    std::optional<std::pair<double, double>> cursors;
    bool automatic = false;
    std::optional<int> end = ReadArgs(
        args, VfHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            if (!name.starts_with("--")) {
                if (!file.empty())
                    return UsageError("vf", "one waveform file only", VfHelp());
                file = name;
                return std::nullopt;
            }
            if (name == "--auto") {
                automatic = true;
                return std::nullopt;
            }
            if (!LengthOption::Takes(name) && name != "--cursors")
                return UsageError("vf", "unknown option \"" + name + "\"", VfHelp());
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("vf", "\"" + name + "\" needs a value", VfHelp());
            bool ok = true;
            if (LengthOption::Takes(name)) {
                ok = length.Read(name, *value);
            } else {
                cursors = ParseCursorTimes(*value);
                ok = cursors.has_value();
            }
            if (!ok)
                return UsageError("vf", "bad value \"" + *value + "\" for " + name, VfHelp());
            return std::nullopt;
        });
    if (end)
        return *end;
    if (file.empty())
        return UsageError("vf", "no waveform file given", VfHelp());
    if (!length.length)
        return UsageError("vf", "--length L is required", VfHelp());
    if (cursors.has_value() == automatic)
        return UsageError("vf", "either --cursors NS1,NS2 or --auto", VfHelp());

    WindowlessLoad loaded;
    r470::Workspace& session = loaded.session;
    if (!loaded.Load(file))
        return kExitFailed;
    if (automatic) {
        r470::FaultTargets t = r470::FindFaultTargets(session.set);
        if (!t.found) {
            std::cerr << r470::kNoReflectionText << "\n";
            return kExitFailed;
        }
        cursors = std::make_pair(t.cursor1Ns, t.cursor2Ns);
    }
    // A cursor stands on a sample of the waveform, as in the window.
    const r470::TraceSlot& slot = session.set.Slot(session.set.CurTrace);
    const double last = (slot.data.header.SampleCount - 1) * slot.NsPerSample;
    if (cursors->first > last || cursors->second > last) {
        std::cerr << r470::Cp1252ToUtf8(r470::MessageText(kOutOfTraceRefusal)) << "\n";
        return kExitFailed;
    }
    r470::KnownLengthFactor f = r470::FactorFromKnownLength(
        *length.length, length.Feet(), std::abs(cursors->second - cursors->first));
    if (!f.refusal.empty()) {
        std::cerr << r470::Cp1252ToUtf8(f.refusal) << "\n";
        return kExitFailed;
    }
    std::cout << r470::Cp1252ToUtf8(r470::MessageText(56)) << " " << r470::PvfText(f.diel) << "\n";
    return std::cout.flush() ? kExitOk : kExitFailed;
}

} // namespace tdrtool
