// The serial port over the Win32 communications API: \\.\COMn opened without sharing, an
// input queue for a whole transmission, 4800 8N1 with every other line setting made ours,
// and time-outs that make every read and write return at once, so a missing or silent
// device never stops us.
#pragma once

#include "instrument/serial_port.h"

#include <map>

struct _DCB;

namespace r470 {

class CommPortWin32 : public SerialPort {
  public:
    explicit CommPortWin32(PortMap map = {}) : map_(std::move(map)) {}

    int OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) override;
    int CommInCount(int handle, std::uint32_t& errors) override;
    int CommOutCount(int handle, std::uint32_t& errors) override;
    int CommRead(int handle, std::span<std::uint8_t> into) override;
    int CommWrite(int handle, std::span<const std::uint8_t> from) override;
    int CloseCommPort(int handle) override;
    std::string LastOpenDetail() const override { return lastDetail_; }
    // An open that only asks whether the port can be had: nothing of the line is set.
    // Closed with CloseCommPort.
    int OpenToList(int portNo);

    const PortMap& Map() const { return map_; }
    // The numbers' devices read again (the INI file's [Ports] lines may have changed).
    void SetMap(PortMap map) { map_ = std::move(map); }
    // The Win32 error behind the last failed open (0 when it failed without one).
    unsigned long LastError() const { return lastError_; }

  private:
    int QueueCount(int handle, std::uint32_t& errors, bool out);

    PortMap map_;
    unsigned long lastError_ = 0;
    std::string lastDetail_;
    std::map<int, void*> handles_; // our small handle numbers to the system's
    int nextHandle_ = 1;
};

// The line's settings over `dcb` as GetCommState gave it: the mode string's fields and every
// other field the link depends on. False when the settings make no line configuration.
bool LineDcb(_DCB& dcb, int baud, char parity, int dataBits, int stopBits);

// "\\.\COM12" for 12; an INI [Ports] line for the number wins.
std::string CommDeviceName(const PortMap& map, int portNo);

// The detail of a port that another program holds; Windows cannot tell which program.
extern const char* const kPortInUseDetail;

} // namespace r470
