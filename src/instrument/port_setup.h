// The comms port setup without its window: which of the probed ports the list offers and
// selects, what device a number stands for, and the help text.
#pragma once

#include "instrument/port_probe.h"
#include "instrument/serial_port.h"

#include <string>
#include <vector>

namespace r470 {

// The numbers the list offers: those of the probed ports that opened, ascending.
std::vector<int> ListedPorts(const std::vector<PortProbe>& probes);
// The probed devices that cannot be used now, with the reason.
std::vector<PortProbe> UnusablePorts(const std::vector<PortProbe>& probes);

// The item the list selects: `commPort` when listed, else the first; -1 for an empty list.
int PortBoxSelection(const std::vector<int>& ports, int commPort);

// What the user is told about one probed device, as lines: the number and device, the
// adapter and its by-id name; for one that cannot be used, the device and why not.
std::vector<std::string> PortProbeLines(const PortProbe& p);
// What the port window shows under the list: a heading and every probed device's lines,
// those that can be used first.
std::string PortInfoHeading(const std::vector<PortProbe>& probes);
std::string PortInfoText(const std::vector<PortProbe>& probes);
// One JSON object on one line: number (or null), device, by_id, description, usable, reason
// (null where there is none).
std::string PortProbeJson(const PortProbe& p);

// "/dev/ttyUSB0" for 33; "no device" when the number maps to none.
std::string PortDeviceText(const PortMap& map, int portNo);

extern const char* const kPortHelpLines[12];
// What the "?" button tells, for the system the program was built for: where Windows keeps
// a port's settings, or what a Linux user must do before the adapter can be used.
std::string PortHelpText();
// The Windows help: kPortHelpLines joined by carriage return and line feed.
std::string DeviceManagerHelpText();
// The Linux help: the group to join, how to find the adapter and give it a number, that
// the program sets the line itself; and how to keep the modem service off the adapter,
// when that service runs.
std::string LinuxPortHelpText(bool modemServiceRuns);

} // namespace r470
