// The program's one view of a serial device: open a numbered port for the instrument link,
// count the bytes waiting in and out, read, write, close. Failures of the open are small
// negative codes with texts of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace r470 {

enum CommError : int {
    CommNoDevice = -993,    // the number maps to no device
    CommNoPath = -994,      // kept for its text; nothing on Linux defines aliases
    CommNoState = -995,     // the device's configuration cannot be read
    CommCannotOpen = -996,  // absent, or held by another open
    CommCannotSetup = -997, // the driver refuses the queue sizes
    CommCannotBuild = -998, // the requested settings have no line configuration
    CommCannotSetState = -999,
};

// "Cannot find device", ... "Unknown error" for anything outside the table.
std::string CommErrorText(int code);

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // A handle (0 or greater) or a negative CommError. A failed open leaves nothing held.
    virtual int OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) = 0;
    virtual int CommInCount(int handle, std::uint32_t& errors) = 0;
    virtual int CommOutCount(int handle, std::uint32_t& errors) = 0;
    // Bytes actually moved, or -1; never waits for bytes that are not there.
    virtual int CommRead(int handle, std::span<std::uint8_t> into) = 0;
    virtual int CommWrite(int handle, std::span<const std::uint8_t> from) = 0;
    // 0 when closed, -1 when closing failed.
    virtual int CloseCommPort(int handle) = 0;
    // After a failed open, what the user should know beyond the code's text (who holds the
    // port, what to do), or "".
    virtual std::string LastOpenDetail() const { return {}; }
};

// Set in the error mask when the device no longer answers (unplugged, hung up).
constexpr std::uint32_t kCommDeviceLost = 0x80000000u;
// Set when received bytes were dropped before we read them (a queue or UART overrun).
constexpr std::uint32_t kCommDataLost = 0x40000000u;

// COM numbers to device paths: 1-32 /dev/ttyS0-31, 33-64 /dev/ttyUSB0-31, 65-96
// /dev/ttyACM0-31, unless the INI file's [Ports] section names a path for the number.
class PortMap {
  public:
    // Empty when the number maps to no device.
    std::string DevicePath(int portNo) const;
    void Set(int portNo, const std::string& path) { overrides_[portNo] = path; }
    const std::map<int, std::string>& Overrides() const { return overrides_; }

    // The "COMn=path" lines of the [Ports] section of the INI file at `iniPath`.
    static PortMap FromIni(const std::string& iniPath);
    // A [Ports] line that no number 1 to 256 reaches ("COM300=..."): kept to be reported.
    struct UnusedLine {
        std::string key; // as "COM300"
        std::string path;
        std::string reason;
    };
    const std::vector<UnusedLine>& Unused() const { return unused_; }
    // The number a device path goes by: its INI number, else its standard number, else 0.
    int NumberOf(const std::string& path) const;

    static constexpr int kHighestPort = 256;

  private:
    std::map<int, std::string> overrides_;
    std::vector<UnusedLine> unused_;
};

// The settings of the instrument link.
constexpr int kLineBaud = 4800;
constexpr char kLineParity = 'N';
constexpr int kLineDataBits = 8;
constexpr int kLineStopBits = 1;

} // namespace r470
