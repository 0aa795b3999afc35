#include "app/tdrtool_platform.h"

#include "common/wide_text.h"

#include <windows.h>

#include <cstdlib>
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

namespace {
UINT consoleCodePage = 0;
}

void PrepareConsole() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
                         ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode);
    if (!console)
        return;
    consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { ::SetConsoleOutputCP(consoleCodePage); });
}

bool StderrIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string SystemFontFolder() {
    wchar_t buf[MAX_PATH * 4];
    UINT n = ::GetSystemWindowsDirectoryW(buf, static_cast<UINT>(std::size(buf)));
    if (n == 0 || n >= std::size(buf))
        return {};
    return r470::Utf8FromWide(std::wstring(buf, n)) + "\\Fonts";
}

} // namespace tdrtool
