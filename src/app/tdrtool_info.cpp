// tdrtool info: the header and notes of waveform files.
#include "app/tdrtool_cli.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

namespace tdrtool {

std::string InfoHelp() {
    return "Usage: tdrtool info [--json] FILE...\n"
           "Prints the header and notes of each waveform file, as \"field: value\" lines or,\n"
           "with --json, as one JSON object per file and line. Exit status 0 when every\n"
           "file loaded, 1 otherwise.\n";
}

int RunInfo(const Args& args) {
    bool json = false;
    Args files;
    bool options = true;
    for (const std::string& a : args) {
        if (options && IsHelp(a)) {
            std::cout << InfoHelp();
            return kExitOk;
        } else if (options && a == "--json") {
            json = true;
        } else if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return UsageError("info", "unknown option \"" + a + "\"", InfoHelp());
        } else {
            files.push_back(a);
        }
    }
    if (files.empty())
        return UsageError("info", "no file given", InfoHelp());

    int status = kExitOk;
    bool first = true;
    for (const std::string& file : files) {
        r470::TraceData trace;
        int state = r470::ReadTraceFile(file, trace);
        if (state != r470::LoadOk)
            status = kExitFailed;
        if (json) {
            std::cout << r470::TraceInfoJson(file, state, &trace) << "\n";
        } else {
            std::cout << (first ? "" : "\n") << r470::TraceInfoText(file, state, &trace);
        }
        first = false;
    }
    return status;
}

} // namespace tdrtool
