#include "output/report_files.h"

#include "common/cp1252.h"
#include "shell/messages.h"

namespace r470 {

namespace {

std::string LastPart(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "" or why the file gave no waveform.
std::string Read(const std::string& path, TraceData& into) {
    InFile f;
    if (int code = f.Open(path); code != 0)
        return Cp1252ToUtf8(IoErrorText(code));
    int state = ReadTrace(f, into);
    return state == LoadOk ? "" : Cp1252ToUtf8(LoadStateText(state));
}

} // namespace

std::string ReadReportFiles(const std::vector<std::string>& files, const std::string& baselineFile,
                            std::vector<ReportWaveform>& out) {
    out.clear();
    std::optional<ReportBaseline> baseline;
    if (!baselineFile.empty()) {
        baseline.emplace();
        if (std::string e = Read(baselineFile, baseline->trace); !e.empty())
            return baselineFile + ": " + e;
        baseline->date = ReportDate(baseline->trace.notes);
    }
    for (const std::string& path : files) {
        ReportWaveform w;
        w.fileName = LastPart(path);
        if (std::string e = Read(path, w.trace); !e.empty())
            return path + ": " + e;
        if (baseline) {
            w.baseline = baseline;
            w.baseline->change = CompareWithReference(w.trace, baseline->trace);
            if (!w.baseline->change.problem.empty())
                return path + ": cannot compare with " + baselineFile + ": " +
                       w.baseline->change.problem;
        }
        out.push_back(std::move(w));
    }
    return "";
}

} // namespace r470
