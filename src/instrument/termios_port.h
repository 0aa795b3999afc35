// The serial port over POSIX termios: raw 8N1 at the requested speed, no flow control,
// DTR and RTS raised, exclusive use through TIOCEXCL and flock. Every open and every
// transfer is non-blocking, so a missing or silent device never stops the program.
#pragma once

#include "instrument/serial_port.h"

namespace r470 {

class TermiosPort : public SerialPort {
  public:
    explicit TermiosPort(PortMap map = {}) : map_(std::move(map)) {}

    int OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) override;
    int CommInCount(int handle, std::uint32_t& errors) override;
    int CommOutCount(int handle, std::uint32_t& errors) override;
    int CommRead(int handle, std::span<std::uint8_t> into) override;
    int CommWrite(int handle, std::span<const std::uint8_t> from) override;
    int CloseCommPort(int handle) override;

    // The same open for a device named by its path.
    int OpenDevice(const std::string& path, int baud, char parity, int dataBits, int stopBits);
    // The errno behind the last failed open (0 when it failed without one).
    int LastErrno() const { return lastErrno_; }
    const PortMap& Map() const { return map_; }

  private:
    PortMap map_;
    int lastErrno_ = 0;
};

// Set in the error mask when the device no longer answers (unplugged, hung up).
constexpr std::uint32_t kCommDeviceLost = 0x80000000u;

} // namespace r470
