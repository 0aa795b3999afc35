// Runs a shell command line as scripts run tdrtool: its exit status and what it printed.
#pragma once

#include "support/temp_dir.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace r470::test {

struct ToolRun {
    int exit = -1;
    std::string out;
    std::string err;
};

// Standard error goes to `errFile` and is read back; without one it is thrown away.
inline ToolRun RunLine(const std::string& line, const std::string& errFile = "") {
    ToolRun r;
    std::string redirect = errFile.empty() ? " 2>/dev/null" : " 2>'" + errFile + "'";
    FILE* p = ::popen((line + redirect).c_str(), "r");
    if (p == nullptr)
        return r;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        r.out.append(buf, n);
    int status = ::pclose(p);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!errFile.empty()) {
        auto e = ReadBytes(errFile);
        r.err.assign(e.begin(), e.end());
    }
    return r;
}

} // namespace r470::test
