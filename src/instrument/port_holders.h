// Who else has a serial device: a UUCP lock file of a live process, or a process with the
// device open. And our own lock while we hold a port, so terminal programs see us too.
// The system folders are parameters, so that tests can give fixture trees.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace r470 {

struct PortSystem {
    std::string sys = "/sys";
    std::string proc = "/proc";
    std::string dev = "/dev";
    std::string lockDir; // empty: /run/lock, else /var/lock
    // Where lock files live: lockDir, else the first of /run/lock and /var/lock that exists.
    std::string LockFolder() const;
};

struct PortHolder {
    int pid = 0;
    std::string program; // empty when the system does not let us see it
};

// "In use by minicom (pid 2311)".
std::string HolderText(const PortHolder& h);

// The names a device goes by: as given, each link on the way, and last where the links
// resolve (a by-id name, its tty).
std::vector<std::string> DeviceNames(const std::string& device);

// A lock file for `device` whose process is alive and is not us. Stale locks (their process
// is gone) are ignored and removed where we may.
std::optional<PortHolder> FindLockHolder(const PortSystem& sys, const std::string& device);

// Another process with `device` open, where the system lets us see its descriptors. The
// process at the other end of a pseudo-terminal (holding its master) is the line itself,
// not a holder.
std::optional<PortHolder> FindOpenHolder(const PortSystem& sys, const std::string& device);

// True when the modem service runs: it may take a newly plugged adapter for a modem.
bool ModemServiceRuns(const PortSystem& sys);

// What to do about a device that is held with no one we can name, or held by the modem
// service: empty unless that service runs and the device is a USB adapter.
std::string ModemServiceHint(const PortSystem& sys, const std::string& device,
                             const std::optional<PortHolder>& holder);

// Our UUCP lock for a device we hold: taken after the open, removed on close.
class UucpLock {
  public:
    enum Result { Taken, Held, NotPossible };
    UucpLock() = default;
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;
    UucpLock(UucpLock&& o) noexcept : path_(std::move(o.path_)) { o.path_.clear(); }
    UucpLock& operator=(UucpLock&& o) noexcept {
        if (this != &o) {
            Release();
            path_ = std::move(o.path_);
            o.path_.clear();
        }
        return *this;
    }
    ~UucpLock() { Release(); }

    // NotPossible where the lock folder does not let us write (we go on without a lock);
    // Held when a live process locked it first (`holder` says who).
    Result Take(const PortSystem& sys, const std::string& device, PortHolder& holder);
    // Removes the lock if it is still ours.
    void Release();
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// The process id a lock file names (ten ASCII digits and a newline, or four binary bytes),
// or 0 when it names none.
int ReadLockPid(const std::string& path);

} // namespace r470
