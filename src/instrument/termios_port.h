// The serial port over POSIX termios: raw 8N1 at the requested speed, no flow control,
// DTR and RTS raised, exclusive use through TIOCEXCL, flock and a UUCP lock file. A port
// another program holds is refused and that program named. Every open and every transfer is
// non-blocking, so a missing or silent device never stops the program.
#pragma once

#include "instrument/port_holders.h"
#include "instrument/serial_port.h"

#include <map>

namespace r470 {

class TermiosPort : public SerialPort {
  public:
    explicit TermiosPort(PortMap map = {}, PortSystem system = {})
        : map_(std::move(map)), system_(std::move(system)) {}

    int OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) override;
    int CommInCount(int handle, std::uint32_t& errors) override;
    int CommOutCount(int handle, std::uint32_t& errors) override;
    int CommRead(int handle, std::span<std::uint8_t> into) override;
    int CommWrite(int handle, std::span<const std::uint8_t> from) override;
    int CloseCommPort(int handle) override;
    std::string LastOpenDetail() const override { return lastDetail_; }

    // The same open for a device named by its path.
    int OpenDevice(const std::string& path, int baud, char parity, int dataBits, int stopBits);
    // An open that only asks whether the port can be had: the same checks, the line's
    // settings and modem lines left as they are. Closed with CloseCommPort.
    int OpenToList(int portNo);
    int OpenDeviceToList(const std::string& path);
    // The errno behind the last failed open (0 when it failed without one).
    int LastErrno() const { return lastErrno_; }
    const PortMap& Map() const { return map_; }
    // The numbers' devices read again (the INI file's [Ports] lines may have changed).
    void SetMap(PortMap map) { map_ = std::move(map); }
    const PortSystem& System() const { return system_; }

  private:
    // Refuses the open as held by another program: -996 with who holds it.
    int Held(const std::string& path, const std::optional<PortHolder>& holder);
    // With `settings` null the line is left as it is.
    struct Line {
        int baud;
        char parity;
        int dataBits, stopBits;
    };
    int Open(const std::string& path, const Line* settings);

    PortMap map_;
    PortSystem system_;
    int lastErrno_ = 0;
    std::string lastDetail_;
    std::map<int, UucpLock> locks_;
    std::map<int, long> overruns_; // the driver's overrun count at the open, where it keeps one
};

} // namespace r470
