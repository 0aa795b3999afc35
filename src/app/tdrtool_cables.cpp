// tdrtool cables: the cable library, and the "--cable" option of the other subcommands.
#include "app/tdrtool_cable.h"
#include "app/tdrtool_cli.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "waveform/trace_info.h"
#include "waveform/units.h"

#include <algorithm>

namespace tdrtool {

namespace {

constexpr std::size_t kNearestShown = 3;

std::string Utf8(const std::string& text) {
    return r470::Cp1252ToUtf8(text);
}

} // namespace

r470::CableLibrary LoadCableLibrary(std::ostream& err, const char* command) {
    std::string path = r470::CableListPath(r470::UserConfigDir());
    r470::UserCableFile user = r470::ReadUserCables(path);
    for (const std::string& line : r470::CableFileReport(path, user))
        err << "tdrtool " << command << ": " << Utf8(line) << "\n";
    return r470::CableLibrary(user);
}

std::optional<int> DielOption::Read(std::string_view command, const std::string& name,
                                    const std::string& value, const std::string& help) {
    if (!given.empty() && given != name)
        return UsageError(command, "give --diel or --cable, not both", help);
    given = name;
    if (name == "--diel") {
        diel = ParseNumber<int>(value, r470::kMinDiel, r470::kMaxDiel);
        if (!diel)
            return UsageError(command, "bad value \"" + value + "\" for --diel", help);
        return std::nullopt;
    }
    r470::CableLibrary library = LoadCableLibrary(std::cerr, std::string(command).c_str());
    if (const r470::CableEntry* e = library.Find(value)) {
        diel = e->diel;
        return std::nullopt;
    }
    std::string nearest;
    for (const std::string& n : library.NearestNames(value, kNearestShown)) {
        if (!nearest.empty())
            nearest += ", ";
        nearest += '"';
        nearest += n;
        nearest += '"';
    }
    std::cerr << "tdrtool " << command << ": unknown cable \"" << value
              << "\"; nearest: " << nearest << "\n(\"tdrtool cables\" lists them all)\n";
    return kExitUsage;
}

std::string CablesHelp() {
    return "Usage: tdrtool cables [--json]\n"
           "Lists the cable library: the built-in cable types with their nominal velocity\n"
           "factors, then the user's own list, " +
           r470::CableListPath("$XDG_CONFIG_HOME") +
           " (~/.config when\n"
           "XDG_CONFIG_HOME is not set): one cable a line, \"NAME; PVF; NOTE\". A line that\n"
           "cannot be read is named on standard error and skipped. Any command that takes\n"
           "--diel D also takes --cable NAME (in any letter case).\n"
           "  --json   one object a line: name, pvf, note, source (\"built-in\" or \"user\")\n";
}

int RunCables(const Args& args) {
    bool json = false;
    std::optional<int> end = ReadArgs(
        args, CablesHelp(), nullptr,
        [&](const std::string& name, OptionReader&) -> std::optional<int> {
            if (name != "--json")
                return UsageError("cables", "unknown argument \"" + name + "\"", CablesHelp());
            json = true;
            return std::nullopt;
        });
    if (end)
        return *end;
    std::string path = r470::CableListPath(r470::UserConfigDir());
    r470::UserCableFile user = r470::ReadUserCables(path);
    for (const std::string& line : r470::CableFileReport(path, user))
        std::cerr << "tdrtool cables: " << Utf8(line) << "\n";
    const r470::CableLibrary library(user);
    for (const r470::CableEntry& e : library.Entries()) {
        const char* source = e.user ? "user" : "built-in";
        if (json) {
            std::cout << "{\"name\":" << r470::JsonQuote(e.name)
                      << ",\"pvf\":" << r470::PvfText(e.diel)
                      << ",\"note\":" << r470::JsonQuote(e.note) << ",\"source\":\"" << source
                      << "\"}\n";
        } else {
            // Padded by characters, not bytes, so that "µ" or "Ω" keeps the columns.
            std::string name = e.name;
            const auto chars = static_cast<std::size_t>(
                std::count_if(name.begin(), name.end(), [](char c) { return (c & 0xC0) != 0x80; }));
            name.append(std::max<std::size_t>(2, 32 - std::min<std::size_t>(chars, 32)), ' ');
            std::string src = source;
            src.resize(10, ' ');
            std::cout << name << r470::PvfText(e.diel) << "  " << src << e.note << "\n";
        }
    }
    if (!std::cout.flush())
        return kExitFailed;
    // The list was shown without the user's cables: a script must not take it for whole.
    return user.error != 0 ? kExitFailed : kExitOk;
}

} // namespace tdrtool
