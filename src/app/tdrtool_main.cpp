// tdrtool: the command-line face of the core for scripts, tests and users without a screen.
// Each subcommand only parses its arguments and calls the core; a new one is a function
// and a row in kCommands.
#include "common/cp1252.h"
#include "common/file_io.h"
#include "shell/messages.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

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

std::string Shortest(double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
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
           line("--fault-at NS", "two-way time to the fault in ns", Shortest(d.faultAtNs)) +
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

// ---- the table ----

const Command kCommands[] = {
    {"info", "info [--json] FILE...", "header and notes of waveform files", RunInfo, InfoHelp},
    {"synth", "synth --out FILE [options]", "write a synthetic waveform file", RunSynth, SynthHelp},
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
