#include "instrument/comm_port_win32.h"

#include "common/wide_text.h"
#include "instrument/port_release.h"

#include <windows.h>

namespace r470 {

const char* const kPortInUseDetail = "It is in use by another program";

namespace {

constexpr DWORD kInQueueSize = 1024;
constexpr DWORD kOutQueueSize = 1024;

int Clamp16(DWORD n) {
    return n > 65535 ? 65535 : static_cast<int>(n);
}

} // namespace

std::string CommDeviceName(const PortMap& map, int portNo) {
    if (auto it = map.Overrides().find(portNo); it != map.Overrides().end())
        return it->second;
    if (portNo < 1 || portNo > PortMap::kHighestPort)
        return {};
    return "\\\\.\\COM" + std::to_string(portNo);
}

int CommPortWin32::OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) {
    lastError_ = 0;
    lastDetail_.clear();
    std::string name = CommDeviceName(map_, portNo);
    if (name.empty())
        return CommNoDevice;
    // \\.\COMn reaches every port by its own name: no global alias of another port is
    // defined (which would take a real COM5 away from every other program).
    HANDLE h = ::CreateFileW(WideFromUtf8(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        lastError_ = ::GetLastError();
        if (lastError_ == ERROR_ACCESS_DENIED || lastError_ == ERROR_SHARING_VIOLATION)
            lastDetail_ = kPortInUseDetail;
        return CommCannotOpen;
    }
    auto fail = [&](int code) {
        lastError_ = ::GetLastError();
        ::CloseHandle(h);
        return code;
    };
    if (::GetFileType(h) != FILE_TYPE_CHAR)
        return fail(CommCannotOpen);
    if (!::SetupComm(h, kInQueueSize, kOutQueueSize))
        return fail(CommCannotSetup);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(h, &dcb))
        return fail(CommNoState);
    // The builder also turns flow control off, as on the other systems.
    std::wstring mode = L"baud=" + std::to_wstring(baud) + L" parity=" +
                        static_cast<wchar_t>(parity) + L" data=" + std::to_wstring(dataBits) +
                        L" stop=" + std::to_wstring(stopBits);
    if (!::BuildCommDCBW(mode.c_str(), &dcb))
        return fail(CommCannotBuild);
    dcb.fBinary = TRUE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!::SetCommState(h, &dcb))
        return fail(CommCannotSetState);
    // Reads return what has arrived; a write the line does not take returns after 50 ms.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = 50;
    if (!::SetCommTimeouts(h, &t))
        return fail(CommCannotSetState);
    int handle = nextHandle_++;
    handles_[handle] = h;
    NoteHeldPort(handle);
    return handle;
}

// Both counts come from one ClearCommError, which also clears the port's error state.
int CommPortWin32::QueueCount(int handle, std::uint32_t& errors, bool out) {
    errors = 0;
    auto it = handles_.find(handle);
    DWORD e = 0;
    COMSTAT st{};
    if (it == handles_.end() || !::ClearCommError(it->second, &e, &st)) {
        errors = kCommDeviceLost;
        return 0;
    }
    errors = e;
    return Clamp16(out ? st.cbOutQue : st.cbInQue);
}

int CommPortWin32::CommInCount(int handle, std::uint32_t& errors) {
    return QueueCount(handle, errors, false);
}

int CommPortWin32::CommOutCount(int handle, std::uint32_t& errors) {
    return QueueCount(handle, errors, true);
}

int CommPortWin32::CommRead(int handle, std::span<std::uint8_t> into) {
    auto it = handles_.find(handle);
    DWORD n = 0;
    if (it == handles_.end() ||
        !::ReadFile(it->second, into.data(), static_cast<DWORD>(into.size()), &n, nullptr))
        return -1;
    return static_cast<int>(n);
}

int CommPortWin32::CommWrite(int handle, std::span<const std::uint8_t> from) {
    auto it = handles_.find(handle);
    DWORD n = 0;
    if (it == handles_.end() ||
        !::WriteFile(it->second, from.data(), static_cast<DWORD>(from.size()), &n, nullptr))
        return it == handles_.end() || ::GetLastError() != ERROR_TIMEOUT ? -1 : 0;
    return static_cast<int>(n);
}

int CommPortWin32::CloseCommPort(int handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end())
        return -1;
    // A held line would keep the last bytes forever: give them a moment, then drop them.
    for (int i = 0;; ++i) {
        DWORD e = 0;
        COMSTAT st{};
        if (!::ClearCommError(it->second, &e, &st) || st.cbOutQue == 0)
            break;
        if (i == 250) {
            (void)::PurgeComm(it->second, PURGE_TXABORT | PURGE_TXCLEAR);
            break;
        }
        ::Sleep(1);
    }
    ForgetHeldPort(handle);
    int result = ::CloseHandle(it->second) ? 0 : -1;
    handles_.erase(it);
    return result;
}

} // namespace r470
