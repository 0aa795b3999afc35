#include "output/report_defaults.h"

#include "common/key_value_file.h"
#include "output/report_content.h"

namespace r470 {

namespace {

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
    for (const auto& [key, raw] : ReadKeyValues(path)) {
        const std::string value = OneLine(raw);
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
    return SaveText(path, ReportDefaultsText(d), writer);
}

} // namespace r470
