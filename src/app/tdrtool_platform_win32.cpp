#include "app/tdrtool_platform.h"

#include "common/wide_text.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace tdrtool {

std::vector<std::string> CommandLine(int argc, char** argv) {
    int n = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (wide == nullptr)
        return {argv, argv + argc};
    std::vector<std::string> args;
    for (int i = 0; i < n; ++i)
        args.push_back(r470::Utf8FromWide(wide[i]));
    ::LocalFree(wide);
    return args;
}

void UseBinaryStreams() {
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
}

bool StderrIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace tdrtool
