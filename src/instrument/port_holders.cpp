#include "instrument/port_holders.h"

#include "instrument/adapter_info.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace r470 {
namespace fs = std::filesystem;
namespace {

constexpr const char* kModemService = "ModemManager";

bool IsNumber(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string FirstLine(const fs::path& p) {
    std::ifstream in(p);
    std::string line;
    std::getline(in, line);
    return line;
}

bool Alive(const PortSystem& sys, int pid) {
    if (pid <= 0)
        return false;
    std::error_code ec;
    // /proc may hide other users' processes; the kill probe still sees them (EPERM).
    return fs::exists(fs::path(sys.proc) / std::to_string(pid), ec) || ::kill(pid, 0) == 0 ||
           errno == EPERM;
}

std::string ProgramName(const PortSystem& sys, int pid) {
    return FirstLine(fs::path(sys.proc) / std::to_string(pid) / "comm");
}

std::vector<std::string> LockPaths(const PortSystem& sys, const std::string& device) {
    std::vector<std::string> out;
    const std::string folder = sys.LockFolder();
    for (const std::string& name : DeviceNames(device)) {
        std::string p = folder + "/LCK.." + fs::path(name).filename().string();
        if (std::find(out.begin(), out.end(), p) == out.end())
            out.push_back(p);
    }
    return out;
}

// The pseudo-terminal number of a /dev/pts/N device, or "".
std::string PtsIndex(const std::vector<std::string>& names) {
    for (const std::string& n : names)
        if (n.starts_with("/dev/pts/") && IsNumber(n.substr(9)))
            return n.substr(9);
    return {};
}

// True when descriptor `fd` of the process at `pidDir` is the master of pty `index`.
bool IsMasterOf(const fs::path& pidDir, const std::string& fd, const std::string& index) {
    std::ifstream in(pidDir / "fdinfo" / fd);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("tty-index:")) {
            std::string v = line.substr(10);
            v.erase(0, v.find_first_not_of(" \t"));
            return v == index;
        }
    }
    return false;
}

} // namespace

std::string PortSystem::LockFolder() const {
    if (!lockDir.empty())
        return lockDir;
    std::error_code ec;
    return fs::is_directory("/run/lock", ec) ? "/run/lock" : "/var/lock";
}

std::string HolderText(const PortHolder& h) {
    return "In use by " + (h.program.empty() ? std::string("another program") : h.program) +
           " (pid " + std::to_string(h.pid) + ")";
}

std::vector<std::string> DeviceNames(const std::string& device) {
    std::vector<std::string> names{device};
    auto add = [&](const std::string& n) {
        if (!n.empty() && std::find(names.begin(), names.end(), n) == names.end())
            names.push_back(n);
    };
    // Link by link, so that every name on the way counts (by-id name, tty, ...).
    fs::path at = device;
    for (int hop = 0; hop < 8; ++hop) {
        std::error_code ec;
        fs::path next = fs::read_symlink(at, ec);
        if (ec)
            break;
        at = next.is_relative() ? (at.parent_path() / next).lexically_normal() : next;
        add(at.string());
    }
    std::error_code ec;
    fs::path real = fs::weakly_canonical(device, ec);
    if (!ec) {
        // The resolved name last: it is the one a lock file is named after.
        names.erase(std::remove(names.begin() + 1, names.end(), real.string()), names.end());
        if (real.string() != device)
            names.push_back(real.string());
    }
    return names;
}

int ReadLockPid(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buf[32] = {};
    ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0)
        return 0;
    const std::string text(buf, static_cast<std::size_t>(n));
    bool ascii = std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isdigit(c) || c == ' ' || c == '\n';
    });
    if (!ascii) {
        if (n != 4)
            return 0;
        int pid = 0;
        std::memcpy(&pid, buf, 4);
        return pid > 0 ? pid : 0;
    }
    long pid = std::strtol(buf, nullptr, 10);
    return pid > 0 && pid < (1L << 30) ? static_cast<int>(pid) : 0;
}

std::optional<PortHolder> FindLockHolder(const PortSystem& sys, const std::string& device) {
    for (const std::string& path : LockPaths(sys, device)) {
        int pid = ReadLockPid(path);
        if (pid <= 0 || pid == ::getpid())
            continue;
        if (Alive(sys, pid))
            return PortHolder{pid, ProgramName(sys, pid)};
        (void)::unlink(path.c_str()); // stale: its process is gone
    }
    return std::nullopt;
}

std::optional<PortHolder> FindOpenHolder(const PortSystem& sys, const std::string& device) {
    const std::vector<std::string> names = DeviceNames(device);
    const std::string pts = PtsIndex(names);
    const std::string self = std::to_string(::getpid());
    std::error_code ec;
    for (fs::directory_iterator it(sys.proc, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pid = it->path().filename().string();
        if (!IsNumber(pid) || pid == self)
            continue;
        bool holds = false, master = false;
        std::error_code fec;
        for (fs::directory_iterator fd(it->path() / "fd", fec); !fec && fd != end;
             fd.increment(fec)) {
            std::error_code lec;
            std::string target = fs::read_symlink(fd->path(), lec).string();
            if (lec)
                continue;
            if (std::find(names.begin(), names.end(), target) != names.end())
                holds = true;
            else if (!pts.empty() && (target == "/dev/ptmx" || target == "/dev/pts/ptmx") &&
                     IsMasterOf(it->path(), fd->path().filename().string(), pts))
                master = true;
        }
        if (holds && !master) {
            int n = std::stoi(pid);
            return PortHolder{n, ProgramName(sys, n)};
        }
    }
    return std::nullopt;
}

bool ModemServiceRuns(const PortSystem& sys) {
    std::error_code ec;
    for (fs::directory_iterator it(sys.proc, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsNumber(it->path().filename().string()) &&
            FirstLine(it->path() / "comm") == kModemService)
            return true;
    }
    return false;
}

std::string ModemServiceHint(const PortSystem& sys, const std::string& device,
                             const std::optional<PortHolder>& holder) {
    if (holder && holder->program != kModemService)
        return {}; // someone else is named: the service is not the question
    if (!holder && !ModemServiceRuns(sys))
        return {};
    AdapterInfo a = DescribeAdapter(sys, device);
    if (!a.usb)
        return {};
    return std::string(kModemService) +
           " may be probing this USB adapter. Stop it with \"sudo systemctl stop " + kModemService +
           "\", or keep it away from the adapter with a udev rule: " + "ATTRS{idVendor}==\"" +
           a.vendorId + "\", ATTRS{idProduct}==\"" + a.productId +
           "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"";
}

UucpLock::Result UucpLock::Take(const PortSystem& sys, const std::string& device,
                                PortHolder& holder) {
    Release();
    const std::string folder = sys.LockFolder();
    const std::string path =
        folder + "/LCK.." + fs::path(DeviceNames(device).back()).filename().string();
    // Written whole under a name of our own, then linked into place: a lock file is never
    // seen half-written.
    const std::string temp = folder + "/LTMP." + std::to_string(::getpid());
    (void)::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return NotPossible;
    char text[16];
    int len = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
    bool written = ::write(fd, text, static_cast<std::size_t>(len)) == len;
    ::close(fd);
    Result result = NotPossible;
    for (int attempt = 0; written && attempt < 2; ++attempt) {
        if (::link(temp.c_str(), path.c_str()) == 0) {
            result = Taken;
            break;
        }
        if (errno != EEXIST)
            break;
        int pid = ReadLockPid(path);
        if (pid == ::getpid() && ::rename(temp.c_str(), path.c_str()) == 0) {
            result = Taken;
            break;
        }
        if (pid != ::getpid() && Alive(sys, pid)) {
            holder = {pid, ProgramName(sys, pid)};
            result = Held;
            break;
        }
        (void)::unlink(path.c_str()); // stale, or not a lock anyone can read
    }
    (void)::unlink(temp.c_str());
    if (result == Taken)
        path_ = path;
    return result;
}

void UucpLock::Release() {
    if (path_.empty())
        return;
    if (ReadLockPid(path_) == ::getpid())
        (void)::unlink(path_.c_str());
    path_.clear();
}

} // namespace r470
