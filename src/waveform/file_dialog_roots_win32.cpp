#include "common/wide_text.h"
#include "waveform/file_dialog.h"

#include <windows.h>

namespace r470 {

// The drives as Explorer lists them ("C:\\", "D:\\"), then the user's own folder, so that
// a file under it selects that rather than its drive.
std::vector<std::string> SystemUserRoots() {
    std::vector<std::string> roots;
    wchar_t buf[27 * 4 + 1] = {};
    DWORD n = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buf) - 1), buf);
    for (const wchar_t* d = buf; n > 0 && n < std::size(buf) && *d; d += wcslen(d) + 1)
        roots.push_back(Utf8FromWide(d));
    wchar_t home[MAX_PATH * 4];
    DWORD h = ::GetEnvironmentVariableW(L"USERPROFILE", home, static_cast<DWORD>(std::size(home)));
    if (h > 0 && h < std::size(home))
        roots.push_back(Utf8FromWide(std::wstring(home, h)));
    if (roots.empty())
        roots.push_back("C:\\");
    return roots;
}

} // namespace r470
