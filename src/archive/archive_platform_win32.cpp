#include "archive/archive_platform.h"

#include "common/wide_text.h"

#include <iterator>
#include <windows.h>

namespace r470 {

namespace {

std::string Env(const wchar_t* name) {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = ::GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n >= std::size(buf))
        return {};
    return Utf8FromWide(std::wstring(buf, n));
}

} // namespace

std::string DefaultArchivePath() {
    std::string local = Env(L"LOCALAPPDATA");
    if (local.empty()) {
        std::string profile = Env(L"USERPROFILE");
        if (profile.empty())
            return {};
        local = profile + "\\AppData\\Local";
    }
    return local + "\\R470\\archive.sqlite";
}

bool FileMarkedReadOnly(const std::string& path) {
    DWORD a = ::GetFileAttributesW(WideFromUtf8(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

std::string ArchiveWriterText(const std::string&) {
    return {}; // Windows does not name the holder of a byte-range lock
}

} // namespace r470
