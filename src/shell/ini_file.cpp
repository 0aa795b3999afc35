#include "shell/ini_file.h"

#include "common/file_io.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <vector>

namespace r470 {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// One optional sign, then digits (decimal, or hex after "$" or "0x"); nothing else.
std::optional<int> ParseInt(const std::string& text) {
    std::string s = Trim(text);
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    // The magnitude is read unsigned, so a second sign is not a number; it is negated only
    // once known to fit.
    if (i >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[i])))
        return std::nullopt;
    unsigned long long magnitude = 0;
    auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(INT_MAX) + 1 : INT_MAX;
    if (magnitude > limit)
        return std::nullopt;
    if (negative)
        return magnitude == limit ? INT_MIN : -static_cast<int>(magnitude);
    return static_cast<int>(magnitude);
}

} // namespace

IniFile IniFile::Parse(const std::string& text) {
    IniFile ini;
    std::string section;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        auto eol = text.find('\n', pos);
        std::string line = Trim(text.substr(pos, eol == std::string::npos ? eol : eol - pos));
        pos = eol == std::string::npos ? text.size() + 1 : eol + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            section = Lower(Trim(line.substr(1, close == std::string::npos ? close : close - 1)));
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = Lower(Trim(line.substr(0, eq)));
        auto& keys = ini.sections_[section];
        if (!keys.count(key)) // the first occurrence wins, as the platform's reader does
            keys[key] = Trim(line.substr(eq + 1));
    }
    return ini;
}

IniFile IniFile::Load(const std::string& path) {
    InFile f;
    if (f.Open(path) != 0)
        return {};
    std::string text;
    std::vector<std::uint8_t> buf(4096);
    // An INI file is a few lines; a huge file is not ours and is read no further than 1 MiB.
    while (text.size() < (1u << 20)) {
        std::size_t got = 0;
        if (f.Read(buf, got) != 0 || got == 0)
            break;
        text.append(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return Parse(text);
}

std::optional<std::string> IniFile::Value(const std::string& section,
                                          const std::string& key) const {
    auto s = sections_.find(Lower(section));
    if (s == sections_.end())
        return std::nullopt;
    auto k = s->second.find(Lower(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

std::map<std::string, std::string> IniFile::Section(const std::string& section) const {
    auto s = sections_.find(Lower(section));
    return s == sections_.end() ? std::map<std::string, std::string>{} : s->second;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    auto v = Value(section, key);
    if (!v)
        return def;
    return ParseInt(*v).value_or(def);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::string IniFilePath(const std::string& appName, const std::string& configDir) {
    return JoinPath(configDir, appName + ".INI");
}

int ReadIniInt(const std::string& iniPath, const std::string& section, const std::string& key,
               int def) {
    return IniFile::Load(iniPath).ReadInteger(section, key, def);
}

} // namespace r470
