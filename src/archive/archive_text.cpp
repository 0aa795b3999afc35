#include "archive/archive_text.h"

#include "archive/archive_export.h"
#include "common/numbers.h"
#include "waveform/trace_info.h"

#include <cstdio>

namespace r470 {

namespace {

std::string TextOrNull(const std::string& s) {
    return s.empty() ? std::string("null") : JsonQuote(s);
}

std::string Csv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string out = "\"";
    for (char c : s)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

std::string FirstChangeJson(const ChangeResult& c) {
    if (c.kind != ChangeResult::Changed)
        return "null";
    return "{\"time_ns\":" + ChangeNumber(c.timeNs) + ",\"distance\":" + ChangeNumber(c.distance) +
           "}";
}

std::string ArchiveTestJson(const ArchiveTest& t) {
    std::string s = "{\"test\":" + std::to_string(t.test);
    s += ",\"site\":" + JsonQuote(t.site);
    s += ",\"cable\":" + JsonQuote(t.cable);
    s += ",\"end\":" + TextOrNull(t.end);
    s += ",\"date\":" + TextOrNull(t.date);
    s += ",\"time\":" + TextOrNull(t.time);
    s += ",\"filed\":" + JsonQuote(t.filed);
    s += std::string(",\"baseline\":") + (t.baseline ? "true" : "false");
    s += ",\"first_change\":" + FirstChangeJson(t.change);
    if (t.change.kind == ChangeResult::CannotCompare)
        s += ",\"compare_problem\":" + JsonQuote(t.change.problem);
    s += ",\"sha256\":" + JsonQuote(t.sha256);
    s += ",\"file\":" + JsonQuoteFileName(t.fileName);
    s += ",\"technician\":" + JsonQuote(t.technician);
    s += ",\"note\":" + JsonQuote(t.note);
    s += ",\"mem_no\":" + std::to_string(t.memNo);
    s += ",\"events\":" + std::to_string(t.events);
    s += ",\"size\":" + std::to_string(t.size);
    return s + "}";
}

std::string ChangeText(const ArchiveTest& t) {
    if (t.baseline)
        return "baseline";
    switch (t.change.kind) {
    case ChangeResult::NoChange:
        return "no change";
    case ChangeResult::Changed:
        return "changed at " + ChangeNumber(t.change.distance) + " m (" +
               ChangeNumber(t.change.timeNs) + " ns)";
    case ChangeResult::CannotCompare:
        return "not compared: " + t.change.problem;
    default:
        return "not compared";
    }
}

std::string ArchiveTestLine(const ArchiveTest& t) {
    char num[32];
    std::snprintf(num, sizeof num, "%6lld", static_cast<long long>(t.test));
    std::string when = t.date.empty() ? "(filed " + t.filed + ")" : t.date + " " + t.time;
    std::string place = t.site.empty() ? t.cable : t.site + " / " + t.cable;
    return std::string(num) + "  " + place + "  " + when + (t.end.empty() ? "" : "  end " + t.end) +
           "  " + ChangeText(t);
}

std::string ArchiveIndexCsv(const std::vector<ArchiveTest>& tests) {
    std::string s = "test,site,cable,end,date,time,filed,baseline,change_time_ns,"
                    "change_distance_m,technician,note,file,sha256,path\n";
    for (const ArchiveTest& t : tests) {
        bool changed = t.change.kind == ChangeResult::Changed;
        s += std::to_string(t.test) + "," + Csv(t.site) + "," + Csv(t.cable) + "," + t.end + "," +
             t.date + "," + t.time + "," + t.filed + "," + (t.baseline ? "yes" : "no") + "," +
             (changed ? ChangeNumber(t.change.timeNs) : "") + "," +
             (changed ? ChangeNumber(t.change.distance) : "") + "," + Csv(t.technician) + "," +
             Csv(t.note) + "," + Csv(t.fileName) + "," + t.sha256 + "," +
             Csv(ArchiveExportName(t)) + "\n";
    }
    return s;
}

} // namespace r470
