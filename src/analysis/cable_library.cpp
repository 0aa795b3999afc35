#include "analysis/cable_library.h"

#include "common/cp1252.h"
#include "common/file_io.h"
#include "shell/messages.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <tuple>

namespace r470 {

namespace {

constexpr int kMinPvf = 300;
constexpr int kMaxPvf = 999;
constexpr std::size_t kMaxNameLength = 40;
// A cable list is a few kilobytes; anything this long is some other file.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr int kTooLong = -1;
const char* const kFileName = "r470-cables.txt";
const char* const kFileHeading =
    "# Cable types of r470, one a line: NAME; VELOCITY FACTOR (0.300-0.999); NOTE";

CableEntry BuiltIn(const char* name, int diel, const char* note) {
    return {name, diel, note, false, 0};
}

} // namespace

const std::vector<CableEntry>& BuiltInCables() {
    static const std::vector<CableEntry> list = {
        // Coaxial, solid polyethylene (relative permittivity 2.25-2.3, so 1/sqrt(2.3) =
        // 0.66): the "66 %" nominal velocity of the RG-58, RG-59, RG-174 and RG-213 data
        // sheets (MIL-DTL-17 constructions).
        BuiltIn("RG-58 solid PE", 660, "50 ohm"),
        BuiltIn("RG-59 solid PE", 660, "75 ohm"),
        BuiltIn("RG-174 solid PE", 660, "50 ohm"),
        BuiltIn("RG-213 solid PE", 660, "50 ohm"),
        // Coaxial, solid PTFE (permittivity 2.1, 1/sqrt(2.1) = 0.69): the 69.5 % of the
        // RG-316 and RG-142 data sheets.
        BuiltIn("RG-316 PTFE", 695, "50 ohm"),
        BuiltIn("RG-142 PTFE", 695, "50 ohm"),
        // Coaxial, foamed polyethylene: the nominal velocities printed on the data sheets of
        // the usual foam constructions (78 % for foam RG-58, 82 % for RG-8X and
        // RG-59 foam, 85 % for gas-injected RG-6 and RG-11 drop cable, 87 % for .500
        // feeder, 88 % for 1/2 inch corrugated foam line).
        BuiltIn("RG-58 foam PE", 780, "50 ohm"),
        BuiltIn("RG-8X foam PE", 820, "50 ohm"),
        BuiltIn("RG-59 foam PE", 820, "75 ohm"),
        BuiltIn("RG-6 foam PE", 850, "75 ohm, CATV drop"),
        BuiltIn("RG-11 foam PE", 850, "75 ohm, CATV drop"),
        BuiltIn("CATV feeder .500 foam", 870, "75 ohm, hard line"),
        BuiltIn("1/2 in corrugated foam", 880, "50 ohm, hard line"),
        // Coaxial, air-spaced: RG-62's semi-solid (air-spaced PE) dielectric is sold as 84 %;
        // air-dielectric corrugated line as 92 %.
        BuiltIn("RG-62 air-spaced PE", 840, "93 ohm"),
        BuiltIn("7/8 in air-dielectric line", 920, "50 ohm, hard line"),
        // Balanced lines: the nominal velocities of LAN cable data sheets (the 69 % and 68 % of
        // PE-insulated category 5e and 6 pairs), of telephone pair cable (air-core PE
        // insulated 67 %, jelly-filled 64 %, PVC 58 %) and of ribbon and window line (82 %
        // and 91 %).
        BuiltIn("Cat 5e UTP", 690, "100 ohm pair"),
        BuiltIn("Cat 6 UTP", 680, "100 ohm pair"),
        BuiltIn("Telephone pair PE air core", 670, "PIC"),
        BuiltIn("Telephone pair PE jelly filled", 640, "filled PIC"),
        BuiltIn("Telephone pair PVC", 580, "indoor"),
        BuiltIn("Twin lead 300 ohm", 820, "ribbon"),
        BuiltIn("Ladder line 450 ohm", 910, "window line"),
        // Power cables: the half velocities (v/2, metres per microsecond of two-way time) of the
        // usual cable-fault location tables, as factors 2 x v/2 / 299.8: XLPE 85, EPR 78,
        // paper-insulated lead-covered 80, PVC 76. Screens and semiconducting layers make them
        // slower than the insulation alone would.
        BuiltIn("Power XLPE", 567, "v/2 85 m/\xC2\xB5s"),
        BuiltIn("Power EPR", 520, "v/2 78 m/\xC2\xB5s"),
        BuiltIn("Power PILC", 534, "v/2 80 m/\xC2\xB5s, paper"),
        BuiltIn("Power PVC", 507, "v/2 76 m/\xC2\xB5s"),
    };
    return list;
}

namespace {

// Letter case folded: ASCII and the Latin-1 letters ("\xC3\x80" to "\xC3\x9E" in UTF-8).
std::string Folded(const std::string& s) {
    std::string out = s;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            auto d = static_cast<unsigned char>(out[++i]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i] = static_cast<char>(d + 32);
        }
    }
    return out;
}

// Characters, not bytes, of a UTF-8 text.
std::size_t CharCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// Edits that turn `query` into some part of `name` (a misspelling or a piece of a name
// costs little); with `whole`, into all of it.
std::size_t EditDistance(const std::string& query, const std::string& name, bool whole) {
    std::vector<std::size_t> prev(name.size() + 1), cur(name.size() + 1);
    for (std::size_t j = 0; j <= name.size(); ++j)
        prev[j] = whole ? j : 0;
    for (std::size_t i = 1; i <= query.size(); ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= name.size(); ++j) {
            std::size_t change = prev[j - 1] + (query[i - 1] == name[j - 1] ? 0 : 1);
            cur[j] = std::min({change, prev[j] + 1, cur[j - 1] + 1});
        }
        std::swap(prev, cur);
    }
    return whole ? prev.back() : *std::min_element(prev.begin(), prev.end());
}

int ReadAll(const std::string& path, std::string& text) {
    InFile f;
    if (int code = f.Open(path); code != 0)
        return code;
    std::vector<std::uint8_t> buf(kMaxFileBytes + 1);
    std::size_t got = 0;
    if (int code = f.Read(buf, got); code != 0)
        return code;
    if (got > kMaxFileBytes)
        return kTooLong;
    text.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
    return 0;
}

std::string NoControls(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return s;
}

} // namespace

bool SameCableName(const std::string& a, const std::string& b) {
    return Folded(Trim(a)) == Folded(Trim(b));
}

bool CableMatches(const CableEntry& cable, const std::string& filter) {
    std::string f = Folded(Trim(filter));
    return Folded(cable.name).find(f) != std::string::npos ||
           Folded(cable.note).find(f) != std::string::npos;
}

std::optional<double> ParseDecimal(const std::string& text) {
    std::string s = Trim(text);
    std::replace(s.begin(), s.end(), ',', '.');
    if (s.empty() || s[0] == '+' || s[0] == '-')
        return std::nullopt;
    if (s[0] == '.')
        s.insert(s.begin(), '0');
    double v = 0;
    const char* end = s.data() + s.size();
    // "1e9" is a number too: refused by its size, not taken for letters.
    auto res = std::from_chars(s.data(), end, v, std::chars_format::general);
    if (res.ec != std::errc{} || res.ptr != end || !std::isfinite(v) ||
        !std::isdigit(static_cast<unsigned char>(s[0])))
        return std::nullopt;
    return v;
}

std::optional<int> ParsePvf(const std::string& text) {
    std::string s = Trim(text);
    double scale = 1000;
    if (!s.empty() && s.back() == '%') {
        s.pop_back();
        scale = 10;
    }
    std::optional<double> v = ParseDecimal(s);
    if (!v)
        return std::nullopt;
    double d = std::nearbyint(*v * scale);
    if (!(d >= kMinPvf && d <= kMaxPvf))
        return std::nullopt;
    return static_cast<int>(d);
}

std::string PvfText(int diel) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d.%03d", diel / 1000, diel % 1000);
    return buf;
}

std::string CableNameProblem(const std::string& raw) {
    std::string name = Trim(raw);
    if (name.empty())
        return "Enter a name for the cable.";
    if (CharCount(name) > kMaxNameLength)
        return "A cable's name is at most " + std::to_string(kMaxNameLength) + " characters.";
    if (name[0] == '#' || name.find(';') != std::string::npos || NoControls(name) != name)
        return "A cable's name cannot start with \"#\" nor hold \";\" or a tab.";
    for (const CableEntry& e : BuiltInCables())
        if (SameCableName(e.name, name))
            return Quoted(e.name) + " is a built-in cable: choose another name.";
    return "";
}

namespace {

const char* const kUtf8Mark = "\xEF\xBB\xBF";

// What is wrong with a name on a line of the list, as a clause; "" when nothing is.
std::string NameClause(const std::string& name) {
    if (name.empty())
        return "no name before the first ';'";
    if (CharCount(name) > kMaxNameLength)
        return "the name is longer than " + std::to_string(kMaxNameLength) + " characters";
    if (NoControls(name) != name)
        return "the name holds a tab or another control character";
    for (const CableEntry& e : BuiltInCables())
        if (SameCableName(e.name, name))
            return Quoted(e.name) + " is the name of a built-in cable";
    return "";
}

} // namespace

UserCableFile ParseUserCables(const std::string& text) {
    UserCableFile file;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t nl = text.find('\n', at);
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        file.lines.push_back(line);
        at = end + 1;
    }
    file.cp1252 = !IsUtf8(text);
    file.digest = std::hash<std::string>{}(text);
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        std::string line = file.lines[i];
        if (file.cp1252)
            line = Cp1252ToUtf8(line);
        else if (i == 0 && line.starts_with(kUtf8Mark)) // no part of the first name
            line.erase(0, std::string_view(kUtf8Mark).size());
        std::string bare = Trim(line);
        if (bare.empty() || bare[0] == '#')
            continue;
        // Reports are texts of the program: the names in them in its code page.
        auto problem = [&](const std::string& why) {
            file.problems.push_back({number, Utf8ToCp1252(why)});
        };
        std::size_t first = line.find(';');
        if (first == std::string::npos) {
            problem("no velocity factor after the name (write NAME; PVF; NOTE)");
            continue;
        }
        std::size_t second = line.find(';', first + 1);
        std::string name = Trim(line.substr(0, first));
        std::string pvf = Trim(line.substr(
            first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
        std::string note = second == std::string::npos ? "" : Trim(line.substr(second + 1));
        std::optional<int> diel = ParsePvf(pvf);
        if (std::string why = NameClause(name); !why.empty()) {
            problem(why);
        } else if (!diel) {
            std::string bare =
                pvf.empty() || pvf.back() != '%' ? pvf : pvf.substr(0, pvf.size() - 1);
            problem("the velocity factor " + Quoted(pvf) +
                    (ParseDecimal(bare) ? " is outside 0.300 to 0.999" : " is not a number"));
        } else {
            auto same =
                std::find_if(file.entries.begin(), file.entries.end(),
                             [&](const CableEntry& e) { return SameCableName(e.name, name); });
            if (same != file.entries.end())
                problem(Quoted(name) + " is already on line " + std::to_string(same->line));
            else
                file.entries.push_back({name, *diel, NoControls(note), true, number});
        }
    }
    return file;
}

UserCableFile ReadUserCables(const std::string& path) {
    std::string text;
    int code = ReadAll(path, text);
    if (code == 2 || code == 3)
        return {}; // no list of one's own yet
    if (code != 0) {
        UserCableFile file;
        file.error = code;
        file.digest = std::hash<std::string>{}("error " + std::to_string(code));
        return file;
    }
    return ParseUserCables(text);
}

int SaveUserCable(const std::string& path, UserCableFile& file, CableEntry entry) {
    // A list that could not be read is never written over: its cables would be lost.
    if (file.error != 0)
        return file.error == kTooLong ? 5 : file.error;
    entry.name = Trim(entry.name);
    std::string line = entry.name + "; " + PvfText(entry.diel) +
                       (entry.note.empty() ? "" : "; " + NoControls(entry.note));
    std::vector<std::string> lines = file.lines;
    if (file.cp1252) {
        // A name the old code page has no room for turns the whole list into UTF-8.
        if (Unstorable1252(line).empty())
            line = Utf8ToCp1252(line);
        else
            for (std::string& l : lines)
                l = Cp1252ToUtf8(l);
    }
    auto same = std::find_if(file.entries.begin(), file.entries.end(), [&](const CableEntry& e) {
        return SameCableName(e.name, entry.name);
    });
    if (same != file.entries.end()) {
        lines[static_cast<std::size_t>(same->line - 1)] = line;
    } else {
        if (lines.empty())
            lines.push_back(kFileHeading);
        // A last line without its line end reads back as a line of its own.
        while (lines.size() > 1 && lines.back().empty())
            lines.pop_back();
        lines.push_back(line);
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    // The configuration folder itself may not exist yet on a new account.
    std::string dir = DirName(path);
    if (!dir.empty())
        (void)MakeFolder(dir);
    int code =
        WriteFileBytes(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (code == 0)
        file = ParseUserCables(text);
    return code;
}

std::string CableListPath(const std::string& configDir) {
    return JoinPath(configDir, kFileName);
}

std::string CableFileErrorText(int code) {
    return code == kTooLong ? "too long to be a cable list" : IoErrorText(code);
}

std::vector<std::string> CableFileReport(const std::string& path, const UserCableFile& file) {
    std::vector<std::string> out;
    if (file.error != 0)
        out.push_back(path + ": " + CableFileErrorText(file.error));
    for (const CableLineProblem& p : file.problems)
        out.push_back(path + " line " + std::to_string(p.line) + ": " + p.text + ".");
    return out;
}

std::string CableLineText(const CableLineProblem& p) {
    return "Line " + std::to_string(p.line) + ": " + p.text + ".";
}

CableLibrary::CableLibrary(const UserCableFile& user) : entries_(BuiltInCables()) {
    entries_.insert(entries_.end(), user.entries.begin(), user.entries.end());
}

const CableEntry* CableLibrary::Find(const std::string& name) const {
    for (const CableEntry& e : entries_)
        if (SameCableName(e.name, name))
            return &e;
    return nullptr;
}

std::vector<std::string> CableLibrary::NearestNames(const std::string& name,
                                                    std::size_t count) const {
    std::string q = Folded(Trim(name));
    struct Scored {
        std::size_t part, whole, order;
    };
    std::vector<Scored> scored;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::string n = Folded(entries_[i].name);
        scored.push_back({EditDistance(q, n, false), EditDistance(q, n, true), i});
    }
    std::sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        return std::tie(a.part, a.whole, a.order) < std::tie(b.part, b.whole, b.order);
    });
    std::vector<std::string> out;
    for (std::size_t i = 0; i < scored.size() && i < count; ++i)
        out.push_back(entries_[scored[i].order].name);
    return out;
}

} // namespace r470
