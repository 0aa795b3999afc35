#include "shell/program_place.h"

#include "common/file_io.h"
#include "common/wide_text.h"

#include <windows.h>

#include <cwctype>

namespace r470 {

namespace {

std::wstring Folded(std::wstring s) {
    for (wchar_t& c : s)
        c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    while (!s.empty() && s.back() == L'\\')
        s.pop_back();
    return s;
}

} // namespace

// A folder under one of the Program Files folders, where an installer puts the program.
bool SharedProgramFolder(const std::string& dir) {
    std::wstring d = Folded(WideFromUtf8(dir));
    for (const wchar_t* var : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
        wchar_t buf[MAX_PATH * 2];
        DWORD n = ::GetEnvironmentVariableW(var, buf, static_cast<DWORD>(std::size(buf)));
        if (n == 0 || n >= std::size(buf))
            continue;
        std::wstring root = Folded(std::wstring(buf, n));
        if (d.size() > root.size() && d.compare(0, root.size(), root) == 0 &&
            d[root.size()] == L'\\')
            return true;
    }
    return false;
}

} // namespace r470
