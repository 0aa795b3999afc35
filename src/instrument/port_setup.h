// The comms port setup without its window: which port numbers can be opened now, which
// one the list selects, what device a number stands for, and why a serial device that is
// present cannot be used by this user.
#pragma once

#include "instrument/serial_port.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace r470 {

// The numbers 1 to 256 whose ports open at this moment, ascending. Each is opened as the
// transfer opens it and closed at once, so a port held by another program is left out.
std::vector<int> ListOpenablePorts(SerialPort& port);

// The item the list selects: `commPort` when listed, else the first; -1 for an empty list.
int PortBoxSelection(const std::vector<int>& ports, int commPort);

// "/dev/ttyUSB0" for 33; "no device" when the number maps to none.
std::string PortDeviceText(const PortMap& map, int portNo);

extern const char* const kPortHelpLines[12];
// The help lines joined by carriage return and line feed.
std::string PortHelpText();

// What is known about a serial device that would not open.
struct DeviceFacts {
    std::string path;
    int number = 0;    // its port number, 0 when it has none
    int openErrno = 0; // 0 when it opened
    std::string groupName;
    bool userInGroup = false;    // the user database lists the user in the device's group
    bool processInGroup = false; // this login session already has that group
};

// The reason shown for a device, or empty when it is usable (or has no hardware behind
// it, which is not the user's to change).
std::string DeviceReason(const DeviceFacts& facts);

struct DeviceProblem {
    std::string path;
    int number = 0;
    std::string reason;
    bool operator==(const DeviceProblem&) const = default;
};

// The serial devices present under `devDir` (ttyS*, ttyUSB*, ttyACM*, ttyAMA*, rfcomm*)
// and those the map names, that this user cannot use now, sorted by path.
std::vector<DeviceProblem> UnusableDevices(const PortMap& map, const std::string& devDir = "/dev");

} // namespace r470
