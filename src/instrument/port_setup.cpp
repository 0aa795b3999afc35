#include "instrument/port_setup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

namespace {

constexpr int kProbeBaud = 4800;

bool IsSerialName(const std::string& name) {
    for (const char* p : {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm"}) {
        std::size_t n = std::strlen(p);
        if (name.size() > n && name.compare(0, n, p) == 0 &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(n), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; }))
            return true;
    }
    return false;
}

bool InProcessGroups(gid_t gid) {
    if (::getegid() == gid)
        return true;
    int n = ::getgroups(0, nullptr);
    if (n <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    n = ::getgroups(n, groups.data());
    return n > 0 && std::find(groups.begin(), groups.begin() + n, gid) != groups.begin() + n;
}

bool UserListedInGroup(gid_t gid) {
    const passwd* pw = ::getpwuid(::getuid());
    if (pw == nullptr)
        return false;
    if (pw->pw_gid == gid)
        return true;
    const group* gr = ::getgrgid(gid);
    if (gr == nullptr)
        return false;
    for (char** m = gr->gr_mem; m && *m; ++m)
        if (std::strcmp(*m, pw->pw_name) == 0)
            return true;
    return false;
}

// Opens the device as a probe does and closes it at once; 0 or the errno.
int TryOpen(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : EBUSY;
    ::close(fd);
    return err;
}

} // namespace

std::vector<int> ListOpenablePorts(SerialPort& port) {
    std::vector<int> out;
    for (int n = 1; n <= PortMap::kHighestPort; ++n) {
        int h = port.OpenCommPort(n, kProbeBaud, 'N', 8, 1);
        if (h < 0)
            continue;
        port.CloseCommPort(h);
        out.push_back(n);
    }
    return out;
}

int PortBoxSelection(const std::vector<int>& ports, int commPort) {
    if (ports.empty())
        return -1;
    auto it = std::find(ports.begin(), ports.end(), commPort);
    return it == ports.end() ? 0 : static_cast<int>(it - ports.begin());
}

std::string PortDeviceText(const PortMap& map, int portNo) {
    std::string path = map.DevicePath(portNo);
    return path.empty() ? "no device" : path;
}

const char* const kPortHelpLines[12] = {"Open Device Manager",
                                        "(Start > Run > devmgmt.msc > ok)",
                                        "Expand Ports List",
                                        "Right Click on Port and select Properties",
                                        "",
                                        "Set Port Settings",
                                        "",
                                        "Bits Per Second (4800)",
                                        "Data Bits (8)",
                                        "Parity (None)",
                                        "Stop Bits (1)",
                                        "Flow Control (Hardware)"};

std::string PortHelpText() {
    std::string out;
    for (const char* line : kPortHelpLines) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

std::string DeviceReason(const DeviceFacts& f) {
    switch (f.openErrno) {
    case 0:
        return f.number == 0 ? "has no port number: give it one in the [Ports] section of "
                               "R470.INI (COMn=" +
                                   f.path + ")"
                             : "";
    case EACCES:
    case EPERM:
        if (f.groupName.empty())
            return "permission denied";
        if (f.userInGroup && !f.processInGroup)
            return "permission denied: you were added to the group \"" + f.groupName +
                   "\" after logging in; log out and in again";
        return "permission denied: only members of the group \"" + f.groupName +
               "\" may open it (sudo usermod -aG " + f.groupName +
               " $USER, then log out and in again)";
    case EBUSY:
        return "in use by another program";
    case EIO:
    case ENXIO:
    case ENODEV:
        return ""; // a node without hardware behind it
    default:
        return std::strerror(f.openErrno);
    }
}

std::vector<DeviceProblem> UnusableDevices(const PortMap& map, const std::string& devDir) {
    std::set<std::string> paths;
    if (DIR* d = ::opendir(devDir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (IsSerialName(e->d_name))
                paths.insert(devDir + "/" + e->d_name);
        ::closedir(d);
    }
    for (const auto& [n, p] : map.Overrides())
        paths.insert(p);

    std::vector<DeviceProblem> out;
    for (const std::string& path : paths) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
            continue;
        DeviceFacts f;
        f.path = path;
        f.number = map.NumberOf(path);
        f.openErrno = TryOpen(path);
        if (const group* gr = ::getgrgid(st.st_gid))
            f.groupName = gr->gr_name;
        f.userInGroup = UserListedInGroup(st.st_gid);
        f.processInGroup = InProcessGroups(st.st_gid);
        std::string reason = DeviceReason(f);
        if (!reason.empty())
            out.push_back({path, f.number, reason});
    }
    return out;
}

} // namespace r470
