#include "common/temp_files.h"

#include "common/wide_text.h"

#include <windows.h>

#include <aclapi.h>
#include <memory>
#include <vector>

namespace r470 {

namespace {

// Gone when no process has the number, or the one that has it has ended. A process we may
// not look at is someone else's and alive.
bool ProcessGone(long pid) {
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (h == nullptr)
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    bool ended = ::GetExitCodeProcess(h, &code) && code != STILL_ACTIVE;
    ::CloseHandle(h);
    return ended;
}

std::time_t UnixTime(const FILETIME& ft) {
    ULARGE_INTEGER t{};
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    constexpr unsigned long long kEpochDiff = 116444736000000000ULL; // 1601 to 1970, 100 ns
    return static_cast<std::time_t>((t.QuadPart - kEpochDiff) / 10000000ULL);
}

// This process's user, to compare with a file's owner.
std::vector<unsigned char> OurUser() {
    std::vector<unsigned char> sid;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return sid;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buf(size);
    if (size && ::GetTokenInformation(token, TokenUser, buf.data(), size, &size)) {
        PSID user = reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid;
        sid.assign(static_cast<unsigned char*>(user),
                   static_cast<unsigned char*>(user) + ::GetLengthSid(user));
    }
    ::CloseHandle(token);
    return sid;
}

bool OwnedBy(const std::wstring& path, std::vector<unsigned char>& user) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (user.empty() ||
        ::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                nullptr, nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return false;
    bool same = owner != nullptr && ::EqualSid(owner, user.data());
    ::LocalFree(sd);
    return same;
}

} // namespace

void RemoveAbandonedTemps(const std::string& dir, std::time_t now) {
    std::wstring folder = WideFromUtf8(dir);
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L".r470~*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<unsigned char> user = OurUser();
    do {
        // Only plain files, never a link, and only this user's.
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        long owner = TempFileOwner(Utf8FromWide(found.cFileName));
        std::wstring path = folder + found.cFileName;
        if (TempFileAbandoned(owner, UnixTime(found.ftLastWriteTime), now,
                              owner > 0 && ProcessGone(owner)) &&
            OwnedBy(path, user))
            (void)::DeleteFileW(path.c_str());
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

} // namespace r470
