// The simulated instrument's end of the line: a pseudo-terminal it makes (the program
// opens the other end as its serial port) or a device it opens. Every wait sleeps in
// poll() and has a bound.
#pragma once

#include "instrument/clock.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

// A pseudo-terminal in raw mode. The simulator keeps the port end open too, so that the
// line stays up while the program opens and closes it, and so that it can see how much
// the program has not read yet.
class SimPty {
  public:
    SimPty() = default;
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;
    ~SimPty();
    int Open(); // 0 or an errno
    int Fd() const { return master_; }
    const std::string& PortPath() const { return path_; }
    // Bytes the program has not read yet.
    int Unread() const;

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A device for the simulator, raw 4800 8N1; -1 and `err` set when it cannot be used.
int OpenSimDevice(const std::string& path, int& err);

// Writes `bytes`, each at least `perByteUs` after the one before (0: as fast as the line
// takes them). Fails with ETIMEDOUT when the line takes nothing for `stallUs`.
int WriteLine(int fd, std::span<const std::uint8_t> bytes, Clock& clock, std::int64_t perByteUs,
              std::int64_t stallUs);

// The time a byte takes at 4800 baud with a start, eight data and a stop bit.
constexpr std::int64_t kLineByteUs = 10 * 1000000 / 4800;

// Appends what arrives to `into` until `done(into)` says so. Waits at most `firstUs` for
// the first byte and `idleUs` between bytes after it; false on such a time-out or an error.
bool ReadLine(int fd, std::vector<std::uint8_t>& into, std::int64_t firstUs, std::int64_t idleUs,
              const std::function<bool(const std::vector<std::uint8_t>&)>& done);

} // namespace r470
