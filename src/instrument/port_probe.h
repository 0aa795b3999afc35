// Which COM numbers can be opened now, and why the serial devices that cannot be are
// refused: the first thing to look at when a USB serial adapter "does not work".
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace r470 {

struct PortProbe {
    int portNo = 0; // 0 for a device no number maps to
    std::string device;
    bool usable = false;
    std::string reason;           // why not, with what to do (who holds it)
    std::string description = {}; // the adapter, from sysfs ("built-in port"), or ""
    std::string byId = {};        // its stable name under /dev/serial/by-id, or ""
};

// Every number 1 to 256 whose device opens (and is closed at once), then every serial
// device present that does not open for a reason the user can act on; each with its
// adapter. The port's PortSystem says where /dev, /sys, /proc and the locks are.
// Each port is only opened and closed: its line settings and modem lines stay as another
// program left them. `opening` is told each device before its open and "" at the end, so
// that one that holds the open (a switched-off Bluetooth port) can be named.
class TermiosPort;
class CommPortWin32;
using ProbeOpening = std::function<void(const std::string& device)>;
std::vector<PortProbe> ProbePorts(TermiosPort& port, const ProbeOpening& opening = {});
// Windows: every number 1 to 256 tried, described from the system's device list (SetupAPI:
// the friendly name and the USB adapter's VID/PID) or HARDWARE\DEVICEMAP\SERIALCOMM; a
// number no list names and that is not there is left out.
std::vector<PortProbe> ProbePorts(CommPortWin32& port, const ProbeOpening& opening = {});

// The advice for a device this user may not open.
std::string AccessAdvice(const std::string& device);

} // namespace r470
