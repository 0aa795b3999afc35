#include "instrument/serial_port.h"

#include "shell/ini_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace r470 {

std::string CommErrorText(int code) {
    switch (code) {
    case CommNoDevice:
        return "Cannot find device";
    case CommNoPath:
        return "Cannot define path";
    case CommNoState:
        return "Cannot get state";
    case CommCannotOpen:
        return "Cannot open COM port";
    case CommCannotSetup:
        return "Cannot setup COM port";
    case CommCannotBuild:
        return "Cannot build parameters";
    case CommCannotSetState:
        return "Cannot set state";
    default:
        return "Unknown error";
    }
}

namespace {

struct Range {
    int first;
    const char* prefix;
};
constexpr Range kStandard[] = {{1, "/dev/ttyS"}, {33, "/dev/ttyUSB"}, {65, "/dev/ttyACM"}};
constexpr int kPerRange = 32;

// What a path leads to: a /dev/serial/by-id name and its /dev/ttyUSBn are one device.
std::string Resolved(const std::string& path) {
    std::error_code ec;
    std::string real = std::filesystem::weakly_canonical(path, ec).string();
    return ec ? path : real;
}

} // namespace

std::string PortMap::DevicePath(int portNo) const {
    if (auto it = overrides_.find(portNo); it != overrides_.end())
        return it->second;
    for (const Range& r : kStandard) {
        if (portNo >= r.first && portNo < r.first + kPerRange)
            return r.prefix + std::to_string(portNo - r.first);
    }
    return {};
}

int PortMap::NumberOf(const std::string& path) const {
    const std::string real = Resolved(path);
    for (const auto& [n, p] : overrides_) {
        if (p == path || Resolved(p) == real)
            return n;
    }
    for (const Range& r : kStandard) {
        for (int i = 0; i < kPerRange; ++i) {
            std::string standard = r.prefix + std::to_string(i);
            if ((path == standard || real == standard) && !overrides_.count(r.first + i))
                return r.first + i;
        }
    }
    return 0;
}

namespace {

// "7" gives 7: a port's number written without its "COM"; anything else 0.
int BareNumber(const std::string& key) {
    int n = 0;
    auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), n);
    return ec == std::errc() && end == key.data() + key.size() ? n : 0;
}

} // namespace

PortMap PortMap::FromIni(const std::string& iniPath) {
    PortMap map;
    for (const auto& [key, path] : IniFile::Load(iniPath).Section("Ports")) {
        if (path.empty())
            continue;
        std::string upper = key;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        int n = 0;
        const char* digits = key.c_str() + std::min<std::size_t>(3, key.size());
        auto [end, ec] = std::from_chars(digits, key.c_str() + key.size(), n);
        bool number =
            key.starts_with("com") && ec == std::errc() && end == key.c_str() + key.size();
        if (number && n >= 1 && n <= kHighestPort)
            map.Set(n, path);
        else if (number && n > kHighestPort)
            map.unused_.push_back(
                {upper, path, "numbers above " + std::to_string(kHighestPort) + " are not used"});
        else if (int bare = BareNumber(key); bare >= 1 && bare <= kHighestPort)
            map.unused_.push_back({upper, path, "write it as COM" + std::to_string(bare) + "="});
        else
            map.unused_.push_back(
                {upper, path, "not a COM number from COM1 to COM" + std::to_string(kHighestPort)});
    }
    return map;
}

} // namespace r470
