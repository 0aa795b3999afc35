#include "common/file_io.h"

#include "common/file_io_win32.h"
#include "common/temp_files.h"
#include "common/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <random>

namespace r470 {

namespace {

// Win32's own numbers are the program's for 2 to 5; a few more mean the same to a user.
// Anything else shows as "Error " and the system's number, as Windows programs show it.
int IoCodeFromWin32(DWORD err, IoOp op) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
        return 2;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return 3;
    case ERROR_TOO_MANY_OPEN_FILES:
        return 4;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return 5;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case ERROR_WRITE_FAULT:
        return 101;
    case ERROR_READ_FAULT:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
        return op == IoOp::Read ? 100 : 101;
    default:
        return static_cast<int>(err);
    }
}

int LastCode(IoOp op = IoOp::Open) {
    return IoCodeFromWin32(::GetLastError(), op);
}

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
    return s.compare(0, std::wcslen(prefix), prefix) == 0;
}

// Names that Windows resolves to a device in any folder and with any extension ("NUL.KEL",
// "C:\x\COM1.txt"), and the \\.\ namespace. Opening one can have effects of its own (a
// modem's lines raised, a console read), so they are refused before any open.
bool IsDeviceName(const std::wstring& path) {
    if (StartsWith(path, L"\\\\.\\") || StartsWith(path, L"//./"))
        return true;
    if (StartsWith(path, L"\\\\?\\")) {
        std::wstring rest = path.substr(4);
        bool drive = rest.size() >= 3 && rest[1] == L':' && (rest[2] == L'\\' || rest[2] == L'/');
        if (!drive && !StartsWith(rest, L"UNC\\"))
            return true;
    }
    // The last part after a folder or a drive ("C:COM1"); the device's name ends at its
    // first dot or colon ("COM1:.KEL", "NUL:x").
    std::size_t start = path.find_last_of(L"\\/");
    if (start == std::wstring::npos && path.size() >= 2 && path[1] == L':' &&
        std::iswalpha(path[0]))
        start = 1;
    std::wstring base = start == std::wstring::npos ? path : path.substr(start + 1);
    base = base.substr(0, base.find_first_of(L".:"));
    while (!base.empty() && (base.back() == L' ' || base.back() == L'.'))
        base.pop_back();
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* d : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"})
        if (base == d)
            return true;
    if (base.size() == 4 && (StartsWith(base, L"COM") || StartsWith(base, L"LPT"))) {
        wchar_t n = base[3];
        return (n >= L'1' && n <= L'9') || n == L'\u00B9' || n == L'\u00B2' || n == L'\u00B3';
    }
    return false;
}

// The name as the user knows it: the real file's name comes back as "\\?\C:\..." or
// "\\?\UNC\server\...".
std::wstring ShownPath(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        return L"\\\\" + path.substr(8);
    if (StartsWith(path, L"\\\\?\\"))
        return path.substr(4);
    return path;
}

// A stop of the console waits for the file being written, then no write starts again.
std::mutex& WriteMutex() {
    static std::mutex m;
    return m;
}

class Handle {
  public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    void Reset(HANDLE h) {
        Close();
        h_ = h;
    }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (ok())
            ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

int WriteAll(HANDLE h, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(h, bytes.data() + done, chunk, &n, nullptr))
            return LastCode(IoOp::Write);
        if (n == 0)
            return 101;
        done += n;
    }
    return 0;
}

std::wstring Joined(const std::string& dir, const std::string& name) {
    std::string d = dir;
    if (!d.empty() && !IsPathSeparator(d.back()))
        d += '\\';
    return WideFromUtf8(d + name);
}

// A new file of our own beside the target, with the whole content, flushed to the disk.
int WriteTemp(const std::string& dir, std::span<const std::uint8_t> bytes, std::wstring& temp) {
    static std::mt19937 rng{std::random_device{}()};
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    RemoveAbandonedTemps(dir, std::time(nullptr));
    Handle h;
    for (int attempt = 0; attempt < 100 && !h.ok(); ++attempt) {
        std::string random;
        for (int i = 0; i < 6; ++i)
            random += kChars[rng() % (sizeof kChars - 1)];
        temp = Joined(dir, TempFileName(CurrentProcessId(), random));
        HANDLE made = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return LastCode();
        h.Reset(made);
    }
    if (!h.ok())
        return 5;
    int e = WriteAll(h.get(), bytes);
    if (e == 0 && !::FlushFileBuffers(h.get()))
        e = LastCode(IoOp::Write);
    h.Close();
    if (e != 0)
        ::DeleteFileW(temp.c_str());
    return e;
}

std::string FinalPath(HANDLE h, const std::string& fallback) {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = ::GetFinalPathNameByHandleW(h, buf, static_cast<DWORD>(std::size(buf)),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= std::size(buf))
        return fallback;
    return Utf8FromWide(std::wstring(buf, n));
}

std::vector<std::uint8_t> ReadWhole(HANDLE h, bool& ok) {
    std::vector<std::uint8_t> data;
    LARGE_INTEGER size{};
    ok = ::GetFileSizeEx(h, &size) != 0;
    if (!ok)
        return data;
    data.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    while (got < data.size()) {
        DWORD n = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - got, 1u << 30));
        if (!::ReadFile(h, data.data() + got, chunk, &n, nullptr) || n == 0)
            break;
        got += n;
    }
    ok = got == data.size();
    return data;
}

bool Rewind(HANDLE h) {
    LARGE_INTEGER zero{};
    return ::SetFilePointerEx(h, zero, nullptr, FILE_BEGIN) != 0;
}

// Rewrites the open file in place; on a failed write its old bytes are put back.
int WriteInPlace(HANDLE h, std::span<const std::uint8_t> bytes,
                 const std::vector<std::uint8_t>& old, bool haveOld) {
    int e = Rewind(h) ? WriteAll(h, bytes) : LastCode(IoOp::Write);
    if (e == 0 && !::SetEndOfFile(h))
        e = LastCode(IoOp::Write);
    if (e == 0 && !::FlushFileBuffers(h))
        e = LastCode(IoOp::Write);
    if (e != 0 && haveOld && Rewind(h)) {
        (void)WriteAll(h, old);
        (void)::SetEndOfFile(h);
        (void)::FlushFileBuffers(h);
    }
    return e;
}

int WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::wstring temp;
    if (int e = WriteTemp(DirName(path), bytes, temp); e != 0)
        return e;
    if (!::MoveFileExW(temp.c_str(), WideFromUtf8(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        int e = LastCode(IoOp::Write);
        ::DeleteFileW(temp.c_str());
        return e;
    }
    return 0;
}

unsigned long SystemReplace(const wchar_t* target, const wchar_t* temp) {
    return ::ReplaceFileW(target, temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
               ? 0
               : ::GetLastError();
}

unsigned long SystemMove(const wchar_t* from, const wchar_t* to) {
    return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : ::GetLastError();
}

FileSwapCalls& Swaps() {
    static FileSwapCalls calls{SystemReplace, SystemMove};
    return calls;
}

thread_local std::string keptNewFile;

// After a replace that took the old file away but could not bring the new one in.
int PutInPlace(const std::wstring& temp, const std::wstring& target) {
    if (Swaps().move(temp.c_str(), target.c_str()) == 0)
        return 0;
    // A temporary name would be cleared away by a later save: the bytes get a name of
    // their own beside the target, or keep the temporary one if even that is refused.
    const std::wstring kept = target + L".new";
    keptNewFile =
        Utf8FromWide(ShownPath(Swaps().move(temp.c_str(), kept.c_str()) == 0 ? kept : temp));
    return kNewBytesKept;
}

} // namespace

FileSwapCalls SetFileSwapCalls(FileSwapCalls calls) {
    FileSwapCalls old = Swaps();
    Swaps() = FileSwapCalls{calls.replace ? calls.replace : SystemReplace,
                            calls.move ? calls.move : SystemMove};
    return old;
}

std::string KeptNewFile() {
    return keptNewFile;
}

void HoldFileWritesForExit() {
    // Never unlocked: the program ends right after.
    WriteMutex().lock();
}

InFile::~InFile() {
    Close();
}

int InFile::Open(const std::string& path) {
    Close();
    std::wstring w = WideFromUtf8(path);
    if (path.empty())
        return 3;
    if (IsDeviceName(w))
        return 5;
    DWORD attrs = ::GetFileAttributesW(w.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return LastCode();
    if (attrs & FILE_ATTRIBUTE_DIRECTORY)
        return 5;
    HANDLE h = ::CreateFileW(w.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastCode();
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return 5;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return 0;
}

int InFile::Read(std::span<std::uint8_t> into, std::size_t& got) {
    got = 0;
    if (handle_ == -1)
        return 6; // invalid handle
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    while (got < into.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(into.size() - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(h, into.data() + got, chunk, &n, nullptr))
            return LastCode(IoOp::Read);
        if (n == 0)
            break;
        got += n;
    }
    return 0;
}

void InFile::Close() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

int WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(WriteMutex());
    if (path.empty())
        return 3;
    std::wstring w = WideFromUtf8(path);
    if (IsDeviceName(w))
        return 5;
    DWORD attrs = ::GetFileAttributesW(w.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        DWORD err = ::GetLastError();
        if (err != ERROR_FILE_NOT_FOUND)
            return IoCodeFromWin32(err, IoOp::Open);
        return WriteNew(path, bytes);
    }
    // A read-only file is refused as Windows refuses it to a plain write, also where the
    // open below would be let through (an administrator's, or a file system without ACLs).
    if (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        return 5;
    // Exactly the check a plain write makes: a read-only file, a folder or ACL that denies
    // writing, another program holding the file. Links are followed by the open.
    Handle h(::CreateFileW(w.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.ok())
        return LastCode();
    if (::GetFileType(h.get()) != FILE_TYPE_DISK)
        return 5;
    std::string real = FinalPath(h.get(), path);
    bool haveOld = false;
    std::vector<std::uint8_t> old = ReadWhole(h.get(), haveOld);
    BY_HANDLE_FILE_INFORMATION info{};
    bool single = ::GetFileInformationByHandle(h.get(), &info) && info.nNumberOfLinks == 1;
    if (single) {
        // A whole new file swapped in: ReplaceFileW keeps the old one's attributes and ACL.
        h.Close();
        std::wstring temp;
        if (int e = WriteTemp(DirName(real), bytes, temp); e != 0)
            return e;
        const std::wstring target = WideFromUtf8(real);
        const unsigned long err = Swaps().replace(target.c_str(), temp.c_str());
        if (err == 0)
            return 0;
        // The old file has left its name and the new bytes are only in the temporary file:
        // they go under the name, or stay where the error message says.
        if (err == ERROR_UNABLE_TO_MOVE_REPLACEMENT || err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            return PutInPlace(temp, target);
        // Nothing changed (1175, or held open without delete sharing): in place instead.
        ::DeleteFileW(temp.c_str());
        h.Reset(::CreateFileW(WideFromUtf8(real).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
        if (!h.ok())
            return LastCode();
    }
    // A second hard link would be cut off by a new file: rewritten in place.
    return WriteInPlace(h.get(), bytes, old, haveOld);
}

std::string UserConfigDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n >= std::size(buf)) {
        n = ::GetEnvironmentVariableW(L"USERPROFILE", buf, static_cast<DWORD>(std::size(buf)));
        if (n == 0 || n >= std::size(buf))
            return ".\\R470";
        return Utf8FromWide(std::wstring(buf, n)) + "\\AppData\\Roaming\\R470";
    }
    return Utf8FromWide(std::wstring(buf, n)) + "\\R470";
}

std::string IniFolder() {
    wchar_t buf[MAX_PATH * 4];
    // The machine's own folder, also for a Remote Desktop session (which has a private one).
    UINT n = ::GetSystemWindowsDirectoryW(buf, static_cast<UINT>(std::size(buf)));
    if (n == 0 || n >= std::size(buf))
        return "C:\\Windows";
    return Utf8FromWide(std::wstring(buf, n));
}

char PreferredSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

std::size_t RootLength(const std::string& path) {
    auto sep = [&](std::size_t i) { return i < path.size() && IsPathSeparator(path[i]); };
    auto drive = [&](std::size_t i) {
        return i + 1 < path.size() && path[i + 1] == ':' &&
               ((path[i] >= 'A' && path[i] <= 'Z') || (path[i] >= 'a' && path[i] <= 'z'));
    };
    // "\\server\share\": the root takes in the share.
    auto share = [&](std::size_t from) {
        std::size_t i = from;
        for (int part = 0; part < 2 && i < path.size(); ++part) {
            while (i < path.size() && !IsPathSeparator(path[i]))
                ++i;
            if (i < path.size())
                ++i;
        }
        return i;
    };
    if (sep(0) && sep(1)) {
        if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && sep(3)) {
            if (drive(4))
                return sep(6) ? 7 : 6;
            if (path.compare(4, 4, "UNC\\") == 0)
                return share(8);
            return 4;
        }
        return share(2);
    }
    if (drive(0))
        return sep(2) ? 3 : 2;
    return sep(0) ? 1 : 0;
}

bool IsFolder(const std::string& path) {
    DWORD attrs = ::GetFileAttributesW(WideFromUtf8(path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderWritable(const std::string& dir) {
    // Attributes and ACLs decide together; only an actual create tells.
    std::wstring probe = Joined(dir, TempFileName(CurrentProcessId(), "wcheck"));
    HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

bool MakeFolder(const std::string& dir) {
    return ::CreateDirectoryW(WideFromUtf8(dir).c_str(), nullptr) || IsFolder(dir);
}

long CurrentProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

} // namespace r470
