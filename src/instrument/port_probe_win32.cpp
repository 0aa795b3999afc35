#include "instrument/port_probe.h"

#include "common/wide_text.h"
#include "instrument/comm_port_win32.h"

#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <map>

namespace r470 {

namespace {

// "COM12" gives 12; anything else 0.
int ComNumber(const std::wstring& name) {
    if (name.size() < 4 || name.size() > 6 || _wcsnicmp(name.c_str(), L"COM", 3) != 0)
        return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return 0;
        n = n * 10 + (name[i] - L'0');
    }
    return n >= 1 && n <= PortMap::kHighestPort ? n : 0;
}

std::wstring RegistryText(HKEY key, const wchar_t* value) {
    wchar_t buf[256];
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    buf[size / sizeof(wchar_t)] = L'\0';
    return buf;
}

// "USB\VID_0403&PID_6001&REV_0600" gives "USB 0403:6001".
std::string UsbIds(const std::wstring& hardwareId) {
    auto vid = hardwareId.find(L"VID_");
    auto pid = hardwareId.find(L"PID_");
    if (vid == std::wstring::npos || pid == std::wstring::npos)
        return {};
    return "USB " + Utf8FromWide(hardwareId.substr(vid + 4, 4)) + ":" +
           Utf8FromWide(hardwareId.substr(pid + 4, 4));
}

// The ports of the system's device list, with what it calls them.
void DeviceListPorts(std::map<int, std::string>& found) {
    HDEVINFO set = ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        HKEY key = ::SetupDiOpenDevRegKey(set, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        int n = ComNumber(RegistryText(key, L"PortName"));
        ::RegCloseKey(key);
        if (n == 0)
            continue;
        wchar_t text[512] = {};
        std::string description;
        if (::SetupDiGetDeviceRegistryPropertyW(set, &dev, SPDRP_FRIENDLYNAME, nullptr,
                                                reinterpret_cast<BYTE*>(text),
                                                sizeof text - sizeof(wchar_t), nullptr))
            description = Utf8FromWide(text);
        wchar_t ids[1024] = {};
        if (::SetupDiGetDeviceRegistryPropertyW(set, &dev, SPDRP_HARDWAREID, nullptr,
                                                reinterpret_cast<BYTE*>(ids),
                                                sizeof ids - sizeof(wchar_t), nullptr)) {
            if (std::string usb = UsbIds(ids); !usb.empty())
                description += (description.empty() ? "" : ", ") + usb;
        }
        found[n] = description;
    }
    ::SetupDiDestroyDeviceInfoList(set);
}

// The serial ports the drivers announce, for systems whose device list has none.
void SerialCommPorts(std::map<int, std::string>& found) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256], data[64];
        DWORD nameLen = 256, dataSize = sizeof data - sizeof(wchar_t), type = 0;
        if (::RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data),
                            &dataSize) != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        data[dataSize / sizeof(wchar_t)] = L'\0';
        if (int n = ComNumber(data))
            found.emplace(n, "");
    }
    ::RegCloseKey(key);
}

} // namespace

// Every number is tried as on Linux: a port the lists do not name (one mapped by hand, as
// Wine's dosdevices links are) still shows when it opens or is held.
std::vector<PortProbe> ProbePorts(CommPortWin32& port, const ProbeOpening& opening) {
    std::map<int, std::string> found;
    DeviceListPorts(found);
    SerialCommPorts(found);
    for (const auto& [n, path] : port.Map().Overrides())
        if (n >= 1 && n <= PortMap::kHighestPort)
            found.emplace(n, "");
    std::vector<PortProbe> out;
    for (int n = 1; n <= PortMap::kHighestPort; ++n) {
        auto listed = found.find(n);
        PortProbe p;
        p.portNo = n;
        p.device = "COM" + std::to_string(n);
        p.description = listed == found.end() ? "" : listed->second;
        if (opening)
            opening(p.device);
        int h = port.OpenToList(n);
        if (h >= 0) {
            port.CloseCommPort(h);
            p.usable = true;
        } else if (listed != found.end() || (port.LastError() != ERROR_FILE_NOT_FOUND &&
                                             port.LastError() != ERROR_PATH_NOT_FOUND)) {
            p.reason = port.LastOpenDetail().empty() ? CommErrorText(h) : port.LastOpenDetail();
        } else {
            continue; // no such port
        }
        out.push_back(p);
    }
    if (opening)
        opening("");
    return out;
}

} // namespace r470
