#include "instrument/comm_port_win32.h"

#include "common/wide_text.h"
#include "instrument/port_release.h"
#include "instrument/transfer_format.h"

#include <windows.h>

namespace r470 {

const char* const kPortInUseDetail = "It is in use by another program";

namespace {

// A whole transmission fits the input queue (the driver takes it as a request): a user who
// leaves a question open during a receive loses no byte.
constexpr DWORD kInQueueSize = kTransferBufferSize;
constexpr DWORD kOutQueueSize = 1024;

HANDLE OpenShared(const std::string& name) {
    // \\.\COMn reaches every port by its own name: no global alias of another port is
    // defined (which would take a real COM5 away from every other program).
    return ::CreateFileW(WideFromUtf8(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
}

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

bool LineDcb(_DCB& dcb, int baud, char parity, int dataBits, int stopBits) {
    std::wstring mode = L"baud=" + std::to_wstring(baud) + L" parity=" +
                        static_cast<wchar_t>(parity) + L" data=" + std::to_wstring(dataBits) +
                        L" stop=" + std::to_wstring(stopBits);
    if (!::BuildCommDCBW(mode.c_str(), &dcb))
        return false;
    // The builder leaves every field its string does not name as the driver or the last
    // program left it: each one the link depends on is set here, as on the other systems
    // (raw bytes, no flow control, DTR and RTS raised).
    const bool checked = parity != 'N' && parity != 'n';
    dcb.fBinary = TRUE;
    dcb.fParity = checked ? TRUE : FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE; // a waveform is full of 0x00 bytes
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    return true;
}

int CommPortWin32::OpenToList(int portNo) {
    lastError_ = 0;
    lastDetail_.clear();
    std::string name = CommDeviceName(map_, portNo);
    if (name.empty())
        return CommNoDevice;
    HANDLE h = OpenShared(name);
    if (h == INVALID_HANDLE_VALUE) {
        lastError_ = ::GetLastError();
        if (lastError_ == ERROR_ACCESS_DENIED || lastError_ == ERROR_SHARING_VIOLATION)
            lastDetail_ = kPortInUseDetail;
        return CommCannotOpen;
    }
    if (::GetFileType(h) != FILE_TYPE_CHAR) {
        ::CloseHandle(h);
        return CommCannotOpen;
    }
    int handle = nextHandle_++;
    handles_[handle] = h;
    NoteHeldPort(handle);
    return handle;
}

int CommPortWin32::OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) {
    int handle = OpenToList(portNo);
    if (handle < 0)
        return handle;
    HANDLE h = handles_[handle];
    auto fail = [&](int code) {
        lastError_ = ::GetLastError();
        ForgetHeldPort(handle);
        ::CloseHandle(h);
        handles_.erase(handle);
        return code;
    };
    if (!::SetupComm(h, kInQueueSize, kOutQueueSize))
        return fail(CommCannotSetup);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(h, &dcb))
        return fail(CommNoState);
    if (!LineDcb(dcb, baud, parity, dataBits, stopBits))
        return fail(CommCannotBuild);
    if (!::SetCommState(h, &dcb))
        return fail(CommCannotSetState);
    // Reads return what has arrived; a write the line does not take returns after 50 ms.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = 50;
    if (!::SetCommTimeouts(h, &t))
        return fail(CommCannotSetState);
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
    if (e & (CE_RXOVER | CE_OVERRUN))
        errors |= kCommDataLost;
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
