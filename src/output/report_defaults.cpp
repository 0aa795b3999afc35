#include "output/report_defaults.h"

#include "output/report_content.h"

#include <vector>

namespace r470 {

namespace {

constexpr std::size_t kMaxBytes = 16384;
constexpr std::size_t kMaxValue = 200;

// A value on one line: line breaks and other controls become spaces.
std::string OneLine(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return s.substr(0, kMaxValue);
}

} // namespace

std::string ReportDefaultsPath(const std::string& configDir) {
    return JoinPath(configDir, "r470-report.txt");
}

ReportDefaults ReadReportDefaults(const std::string& path) {
    ReportDefaults d;
    d.title = kDefaultReportTitle;
    InFile f;
    if (f.Open(path) != 0)
        return d;
    std::vector<std::uint8_t> buf(kMaxBytes);
    std::size_t got = 0;
    if (f.Read(buf, got) != 0)
        return d;
    std::string text(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(got));
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = OneLine(line.substr(eq + 1));
        if (key == "title" && !value.empty())
            d.title = value;
        else if (key == "technician")
            d.technician = value;
        else if (key == "site")
            d.site = value;
    }
    return d;
}

std::string ReportDefaultsText(const ReportDefaults& d) {
    return "title=" + OneLine(d.title) + "\ntechnician=" + OneLine(d.technician) +
           "\nsite=" + OneLine(d.site) + "\n";
}

int SaveReportDefaults(const std::string& path, const ReportDefaults& d, const FileWriter& writer) {
    const std::string text = ReportDefaultsText(d);
    return writer(path, [&text](ByteSink& out) {
        return out.Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    });
}

} // namespace r470
