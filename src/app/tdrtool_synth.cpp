// tdrtool synth: a synthetic waveform file.
#include "app/tdrtool_cli.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "shell/messages.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"

namespace tdrtool {

std::string SynthHelp() {
    const r470::SynthOptions d;
    auto line = [](std::string_view opt, std::string_view what, const std::string& def) {
        std::string s = "  " + std::string(opt);
        s.resize(20, ' ');
        return s + std::string(what) + " (" + def + ")\n";
    };
    return "Usage: tdrtool synth --out FILE [options]\n"
           "Writes a synthetic waveform file: a launch pulse, cable loss, one fault and a\n"
           "little noise. The same options always give the same file.\n" +
           line("--samples N", "number of samples, 0 to 2048", std::to_string(d.samples)) +
           line("--interval-ps P", "sample interval in picoseconds", std::to_string(d.intervalPs)) +
           line("--diel D", "dielectric, velocity factor x 1000, 300 to 999",
                std::to_string(d.diel)) +
           line("--gain G", "gain step", std::to_string(d.gain)) +
           line("--pulse-width NS", "pulse width in ns", std::to_string(d.pulseWidthNs)) +
           line("--fault-at NS", "two-way time to the fault in ns",
                r470::ShortestText(d.faultAtNs)) +
           line("--fault KIND", "open, short or none", "open") +
           line("--mem N", "memory number, 1 to 48", std::to_string(d.memNo)) +
           line("--cable-id TEXT", "cable ID, at most 30 characters", d.cableId) +
           line("--seed S", "seed of the noise", std::to_string(d.seed)) +
           "A lossy cable instead (any of these given):\n" +
           line("--reflection NS:C", "one more reflection at NS ns, coefficient -1 to 1",
                "none; repeat for more") +
           line("--loss DB", "skin-effect loss at 100 MHz per us of two-way travel", "0") +
           line("--noise N", "Gaussian noise in counts", "0.5");
}

int RunSynth(const Args& args) {
    r470::SynthOptions o;
    std::string out;
    std::optional<int> end = ReadArgs(
        args, SynthHelp(), nullptr,
        [&](const std::string& name, OptionReader& r) -> std::optional<int> {
            std::optional<std::string> value = r.Value();
            if (!value)
                return UsageError("synth", "\"" + name + "\" needs a value", SynthHelp());
            auto bad = [&] {
                return UsageError("synth", "bad value \"" + *value + "\" for " + name, SynthHelp());
            };
            auto setInt = [&](int& field) {
                auto v = ParseNumber<int>(*value);
                if (v)
                    field = *v;
                return v.has_value();
            };
            bool ok = true;
            if (name == "--out") {
                out = *value;
                ok = !out.empty();
            } else if (name == "--samples") {
                ok = setInt(o.samples);
            } else if (name == "--interval-ps") {
                ok = setInt(o.intervalPs);
            } else if (name == "--diel") {
                ok = setInt(o.diel);
            } else if (name == "--gain") {
                ok = setInt(o.gain);
            } else if (name == "--pulse-width") {
                ok = setInt(o.pulseWidthNs);
            } else if (name == "--mem") {
                ok = setInt(o.memNo);
            } else if (name == "--fault-at") {
                auto v = ParseNumber<double>(*value);
                ok = v.has_value();
                o.faultAtNs = v.value_or(0);
            } else if (name == "--seed") {
                auto v = ParseNumber<unsigned>(*value);
                ok = v.has_value();
                o.seed = v.value_or(0);
            } else if (name == "--fault") {
                if (*value == "open")
                    o.fault = r470::SynthOptions::Open;
                else if (*value == "short")
                    o.fault = r470::SynthOptions::Short;
                else if (*value == "none")
                    o.fault = r470::SynthOptions::None;
                else
                    ok = false;
            } else if (name == "--reflection") {
                auto colon = value->find(':');
                auto at = ParseNumber<double>(value->substr(0, colon));
                auto c = colon == std::string::npos
                             ? std::nullopt
                             : ParseNumber<double>(value->substr(colon + 1), -1.0, 1.0);
                ok = at && c;
                if (ok)
                    o.reflections.push_back({*at, *c});
            } else if (name == "--loss") {
                auto v = ParseNumber<double>(*value, 0.0, 1000.0);
                ok = v.has_value();
                o.lossDbPerUs = v.value_or(0);
            } else if (name == "--noise") {
                auto v = ParseNumber<double>(*value, 0.0, 50.0);
                ok = v.has_value();
                o.noise = v.value_or(0);
            } else if (name == "--cable-id") {
                o.cableId = r470::Utf8ToCp1252(*value);
            } else {
                return UsageError("synth", "unknown option \"" + name + "\"", SynthHelp());
            }
            if (!ok)
                return bad();
            return std::nullopt;
        });
    if (end)
        return *end;
    if (out.empty())
        return UsageError("synth", "--out FILE is required", SynthHelp());
    if (std::string problem = r470::SynthOptionsError(o); !problem.empty())
        return UsageError("synth", r470::Cp1252ToUtf8(problem), SynthHelp());

    const r470::TraceData trace = r470::Synthesize(o);
    int e = r470::WriteFileSafely(
        out, [&](r470::ByteSink& sink) { return r470::WriteTrace(sink, trace); });
    if (e != 0) {
        std::cerr << "tdrtool synth: " << out << ": " << r470::Cp1252ToUtf8(r470::IoErrorText(e))
                  << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace tdrtool
