// tdrtool: the command-line face of the core for scripts, tests and users without a screen.
// Each subcommand only parses its arguments and calls the core; a new one is a function
// and a row in kCommands.
#include "common/cp1252.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "shell/messages.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

#ifdef TDRTOOL_HAS_RENDER
#include "display/units.h"
#include "output/picture_qt.h"

#include <QGuiApplication>
#include <cstdlib>
#include <unistd.h>
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Args = std::vector<std::string>;

// Exit codes shared by every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    int (*run)(const Args& args);
    std::string (*help)();
};

bool IsHelp(const std::string& a) {
    return a == "--help" || a == "-h";
}

int UsageError(std::string_view command, const std::string& problem, const std::string& help) {
    std::cerr << "tdrtool " << command << ": " << problem << "\n" << help;
    return kExitUsage;
}

// Options come as "--name value" or "--name=value".
class OptionReader {
  public:
    explicit OptionReader(const Args& args) : args_(args) {}

    bool Done() const { return pos_ >= args_.size(); }
    const std::string& Peek() const { return args_[pos_]; }

    // The next option's name; its value, if joined with '=', is kept for Value().
    std::string NextName() {
        std::string a = args_[pos_++];
        joined_.reset();
        if (auto eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
            joined_ = a.substr(eq + 1);
            a.resize(eq);
        }
        return a;
    }
    std::optional<std::string> Value() {
        if (joined_)
            return std::exchange(joined_, std::nullopt);
        if (Done())
            return std::nullopt;
        return args_[pos_++];
    }

  private:
    const Args& args_;
    std::size_t pos_ = 0;
    std::optional<std::string> joined_;
};

template <typename T> std::optional<T> ParseNumber(const std::string& text) {
    T v{};
    const char* end = text.data() + text.size();
    auto res = std::from_chars(text.data(), end, v);
    if (text.empty() || res.ec != std::errc{} || res.ptr != end)
        return std::nullopt;
    return v;
}

// ---- info ----

std::string InfoHelp() {
    return "Usage: tdrtool info [--json] FILE...\n"
           "Prints the header and notes of each waveform file, as \"field: value\" lines or,\n"
           "with --json, as one JSON object per file and line. Exit status 0 when every\n"
           "file loaded, 1 otherwise.\n";
}

int RunInfo(const Args& args) {
    bool json = false;
    Args files;
    bool options = true;
    for (const std::string& a : args) {
        if (options && IsHelp(a)) {
            std::cout << InfoHelp();
            return kExitOk;
        } else if (options && a == "--json") {
            json = true;
        } else if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return UsageError("info", "unknown option \"" + a + "\"", InfoHelp());
        } else {
            files.push_back(a);
        }
    }
    if (files.empty())
        return UsageError("info", "no file given", InfoHelp());

    int status = kExitOk;
    bool first = true;
    for (const std::string& file : files) {
        r470::TraceData trace;
        int state = r470::ReadTraceFile(file, trace);
        if (state != r470::LoadOk)
            status = kExitFailed;
        if (json) {
            std::cout << r470::TraceInfoJson(file, state, &trace) << "\n";
        } else {
            std::cout << (first ? "" : "\n") << r470::TraceInfoText(file, state, &trace);
        }
        first = false;
    }
    return status;
}

// ---- synth ----

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
           line("--seed S", "seed of the noise", std::to_string(d.seed));
}

int RunSynth(const Args& args) {
    r470::SynthOptions o;
    std::string out;
    OptionReader r(args);
    while (!r.Done()) {
        if (IsHelp(r.Peek())) {
            std::cout << SynthHelp();
            return kExitOk;
        }
        std::string name = r.NextName();
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
        } else if (name == "--cable-id") {
            o.cableId = r470::Utf8ToCp1252(*value);
        } else {
            return UsageError("synth", "unknown option \"" + name + "\"", SynthHelp());
        }
        if (!ok)
            return bad();
    }
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

// ---- render ----

#ifdef TDRTOOL_HAS_RENDER
std::string RenderHelp() {
    return "Usage: tdrtool render FILE... --out PATH [options]\n"
           "Loads the waveform files into slots 1, 2, ... as the window's \"Add waveform\"\n"
           "does and draws the display onto a white picture: frame, waveforms, scale,\n"
           "cursors and readout line. PATH ends in .bmp or .png.\n"
           "  --size WxH          picture size in pixels (648x489)\n"
           "  --units U           feet, metres or time (metres)\n"
           "  --diel-units D      pvf, v or v2 (pvf)\n"
           "  --cursors NS1,NS2   cursor times in ns (from the first file)\n"
           "  --zoom              zoom on the active cursor\n";
}

int RunRender(const Args& args) {
    r470::PictureOptions o;
    std::string out;
    OptionReader r(args);
    while (!r.Done()) {
        if (IsHelp(r.Peek())) {
            std::cout << RenderHelp();
            return kExitOk;
        }
        if (!r.Peek().starts_with("--")) {
            o.files.push_back(r.NextName());
            continue;
        }
        std::string name = r.NextName();
        if (name == "--zoom") {
            o.zoom = true;
            continue;
        }
        std::optional<std::string> value = r.Value();
        if (!value)
            return UsageError("render", "\"" + name + "\" needs a value", RenderHelp());
        bool ok = true;
        if (name == "--out") {
            out = *value;
            ok = !out.empty();
        } else if (name == "--size") {
            auto x = value->find('x');
            auto w = ParseNumber<int>(value->substr(0, x));
            auto h = x == std::string::npos ? std::nullopt : ParseNumber<int>(value->substr(x + 1));
            ok = w && h;
            o.width = w.value_or(0);
            o.height = h.value_or(0);
        } else if (name == "--units") {
            if (*value == "feet")
                o.axisUnits = r470::AxisFeet;
            else if (*value == "metres" || *value == "meters")
                o.axisUnits = r470::AxisMetres;
            else if (*value == "time")
                o.axisUnits = r470::AxisTime;
            else
                ok = false;
        } else if (name == "--diel-units") {
            if (*value == "pvf")
                o.dielUnits = r470::DielPvf;
            else if (*value == "v")
                o.dielUnits = r470::DielV;
            else if (*value == "v2")
                o.dielUnits = r470::DielVHalf;
            else
                ok = false;
        } else if (name == "--cursors") {
            auto comma = value->find(',');
            auto a = ParseNumber<double>(value->substr(0, comma));
            auto b = comma == std::string::npos ? std::nullopt
                                                : ParseNumber<double>(value->substr(comma + 1));
            ok = a && b;
            if (ok)
                o.cursorsNs = std::make_pair(*a, *b);
        } else {
            return UsageError("render", "unknown option \"" + name + "\"", RenderHelp());
        }
        if (!ok)
            return UsageError("render", "bad value \"" + *value + "\" for " + name, RenderHelp());
    }
    if (out.empty())
        return UsageError("render", "--out PATH is required", RenderHelp());
    if (o.files.empty())
        return UsageError("render", "no waveform file given", RenderHelp());
    // Drawing needs fonts from a GUI application; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (a script, a service) there is no runtime folder; a private one for
    // this run keeps Qt from complaining on every picture.
    std::string runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        char tmpl[] = "/tmp/tdrtool-XXXXXX";
        if (char* made = ::mkdtemp(tmpl)) {
            runtimeDir = made;
            qputenv("XDG_RUNTIME_DIR", made);
        }
    }
    struct RemoveDir {
        const std::string& dir;
        ~RemoveDir() {
            if (!dir.empty())
                ::rmdir(dir.c_str());
        }
    } removeDir{runtimeDir};
    int argc = 1;
    char name[] = "tdrtool";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    std::string error = r470::RenderPictureFile(o, out, std::cerr);
    if (!error.empty()) {
        std::cerr << "tdrtool render: " << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}
#endif

// ---- the table ----

const Command kCommands[] = {
    {"info", "info [--json] FILE...", "header and notes of waveform files", RunInfo, InfoHelp},
    {"synth", "synth --out FILE [options]", "write a synthetic waveform file", RunSynth, SynthHelp},
#ifdef TDRTOOL_HAS_RENDER
    {"render", "render FILE... --out PATH [options]", "draw the display to a BMP or PNG picture",
     RunRender, RenderHelp},
#endif
};

std::string Usage() {
    std::string s = "Usage: tdrtool COMMAND [ARGS]\n\nCommands:\n";
    for (const Command& c : kCommands) {
        std::string line = "  " + std::string(c.synopsis);
        line.resize(std::max<std::size_t>(line.size() + 2, 32), ' ');
        s += line + std::string(c.summary) + "\n";
    }
    s += "\nRun \"tdrtool help COMMAND\" or \"tdrtool COMMAND --help\" for the arguments of "
         "one command.\n";
    return s;
}

} // namespace

int main(int argc, char** argv) {
    std::span<char*> all(argv, static_cast<std::size_t>(argc));
    if (all.size() < 2) {
        std::cerr << Usage();
        return kExitUsage;
    }
    std::string name = all[1];
    if (IsHelp(name) || name == "help") {
        for (const Command& c : kCommands) {
            if (all.size() > 2 && c.name == all[2]) {
                std::cout << c.help();
                return kExitOk;
            }
        }
        std::cout << Usage();
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (c.name == name)
            return c.run(Args(all.begin() + 2, all.end()));
    }
    std::cerr << "tdrtool: unknown command \"" << name << "\"\n" << Usage();
    return kExitUsage;
}
