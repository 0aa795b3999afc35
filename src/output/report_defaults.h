// What the report dialog remembers between runs: title, technician and site. Kept in a
// small UTF-8 file of the program's own beside the user's cable list, so the settings record
// keeps its fixed size.
#pragma once

#include "common/file_io.h"

#include <string>

namespace r470 {

struct ReportDefaults {
    std::string title, technician, site;
    bool operator==(const ReportDefaults&) const = default;
};

std::string ReportDefaultsPath(const std::string& configDir);
// Lines "key=value"; unknown keys and a missing or unreadable file leave the defaults.
ReportDefaults ReadReportDefaults(const std::string& path);
std::string ReportDefaultsText(const ReportDefaults& d);
// 0 or the writer's error code.
int SaveReportDefaults(const std::string& path, const ReportDefaults& d,
                       const FileWriter& writer = WriteFileSafely);

} // namespace r470
