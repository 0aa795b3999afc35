// tdrtool's shared pieces: the argument list, exit codes, option reading and number
// parsing, and the functions of the subcommands that the table in tdrtool_main.cpp lists.
#pragma once

#include <charconv>
#include <cmath>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tdrtool {

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

inline bool IsHelp(const std::string& a) {
    return a == "--help" || a == "-h";
}

inline int UsageError(std::string_view command, const std::string& problem,
                      const std::string& help) {
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

// The argument loop of every subcommand. "--help" or "-h" where an option may stand prints
// `help` and ends with kExitOk. With `words`, an argument not starting with "--" (a file,
// FILE:MEM) is added to it; any other argument goes by name to `option`, which takes its
// value from the reader if it has one and answers an exit code to end with, or nothing to
// read on. Answers nothing once every argument is read.
template <typename OnOption>
std::optional<int> ReadArgs(const Args& args, const std::string& help, Args* words,
                            OnOption&& option) {
    OptionReader r(args);
    while (!r.Done()) {
        if (IsHelp(r.Peek())) {
            std::cout << help;
            return kExitOk;
        }
        if (words && !r.Peek().starts_with("--")) {
            words->push_back(r.NextName());
            continue;
        }
        std::string name = r.NextName();
        if (std::optional<int> end = option(name, r))
            return end;
    }
    return std::nullopt;
}

// A whole number or decimal of type T and nothing else, within [lo, hi]. NaN, infinities
// and values the type cannot hold are refused like any other bad text.
template <typename T>
std::optional<T> ParseNumber(const std::string& text, T lo = std::numeric_limits<T>::lowest(),
                             T hi = std::numeric_limits<T>::max()) {
    T v{};
    const char* end = text.data() + text.size();
    auto res = std::from_chars(text.data(), end, v);
    if (text.empty() || res.ec != std::errc{} || res.ptr != end)
        return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(v))
            return std::nullopt;
    }
    if (v < lo || v > hi)
        return std::nullopt;
    return v;
}

// The subcommands, one file each.
int RunInfo(const Args& args);
std::string InfoHelp();
int RunSynth(const Args& args);
std::string SynthHelp();
int RunCsv(const Args& args);
std::string CsvHelp();
int RunPorts(const Args& args);
std::string PortsHelp();
int RunReceive(const Args& args);
std::string ReceiveHelp();
int RunSend(const Args& args);
std::string SendHelp();
int RunEncode(const Args& args);
std::string EncodeHelp();
int RunInstrument(const Args& args);
std::string InstrumentHelp();
int RunDbrl(const Args& args);
std::string DbrlHelp();
int RunEvents(const Args& args);
std::string EventsHelp();
int RunImportCapture(const Args& args);
std::string ImportCaptureHelp();
int RunLocateBoth(const Args& args);
std::string LocateBothHelp();
int RunArchive(const Args& args);
std::string ArchiveHelp();
#ifdef TDRTOOL_HAS_RENDER
int RunRender(const Args& args);
std::string RenderHelp();
int RunReport(const Args& args);
std::string ReportHelp();
#endif

} // namespace tdrtool
