#include "instrument/port_probe.h"

#include "instrument/adapter_info.h"
#include "instrument/termios_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

std::string AccessAdvice(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return "permission denied";
    const group* g = ::getgrgid(st.st_gid);
    std::string name = g ? g->gr_name : std::to_string(st.st_gid);
    // Member in the group file but not in this session: the login predates the change.
    bool listed = false;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && g) {
        for (char** m = g->gr_mem; *m; ++m)
            listed = listed || std::strcmp(*m, pw->pw_name) == 0;
    }
    std::string s = "permission denied: the device belongs to the group \"" + name + "\"";
    if (listed)
        return s + "; you are in it, but only from your next login: log out and in again";
    return s + "; join it with \"sudo usermod -aG " + name + " $USER\", then log out and in again";
}

namespace {

// Why a path named in [Ports] is no device at all, or "" for a device.
std::string NotADevice(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISCHR(st.st_mode))
        return "";
    if (S_ISREG(st.st_mode))
        return "a regular file, not a serial port";
    if (S_ISDIR(st.st_mode))
        return "a folder, not a serial port";
    return "not a serial port";
}

// A device by what it resolves to, so that a by-id name and its tty are one device.
std::string Real(const std::string& path) {
    return DeviceNames(path).back();
}

PortProbe Probe(const PortSystem& sys, int n, const std::string& path, bool usable,
                std::string reason) {
    AdapterInfo a = DescribeAdapter(sys, path);
    return {n, path, usable, std::move(reason), a.description, a.byId};
}

} // namespace

std::vector<PortProbe> ProbePorts(TermiosPort& port, const ProbeOpening& opening) {
    auto tell = [&](const std::string& device) {
        if (opening)
            opening(device);
    };
    const PortSystem& sys = port.System();
    std::vector<PortProbe> out;
    std::set<std::string> seen;
    for (int n = 1; n <= PortMap::kHighestPort; ++n) {
        std::string path = port.Map().DevicePath(n);
        // A standard number whose device a [Ports] line names is offered under that line.
        // A file named in [Ports] by mistake is not opened (nor locked) as a port.
        if (path.empty() || port.Map().NumberOf(path) != n || !NotADevice(path).empty())
            continue;
        tell(path);
        int h = port.OpenToList(n);
        if (h >= 0) {
            port.CloseCommPort(h);
            out.push_back(Probe(sys, n, path, true, {}));
            seen.insert(Real(path));
        }
    }
    std::vector<std::string> present;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(sys.dev, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.starts_with("ttyUSB") || name.starts_with("ttyACM") || name.starts_with("ttyS"))
            present.push_back(it->path().string());
    }
    std::set<std::string> named;
    for (const auto& [n, path] : port.Map().Overrides()) {
        present.push_back(path);
        named.insert(path);
    }
    std::sort(present.begin(), present.end());
    present.erase(std::unique(present.begin(), present.end()), present.end());
    for (const std::string& path : present) {
        if (!seen.insert(Real(path)).second)
            continue;
        if (std::string why = NotADevice(path); named.count(path) && !why.empty()) {
            out.push_back(
                Probe(sys, port.Map().NumberOf(path), path, false, "named in [Ports] but " + why));
            continue;
        }
        tell(path);
        int h = port.OpenDeviceToList(path);
        if (h >= 0) { // opens, but no number 1 to 256 reaches it
            port.CloseCommPort(h);
            out.push_back(
                Probe(sys, 0, path, false, "no COM number maps to it: add it to [Ports]"));
            continue;
        }
        int e = port.LastErrno();
        std::string reason;
        if (e == EACCES || e == EPERM)
            reason = AccessAdvice(path);
        else if (e == EBUSY)
            reason =
                port.LastOpenDetail().empty() ? "in use by another program" : port.LastOpenDetail();
        else if (e == ENOENT && port.Map().NumberOf(path) != 0)
            reason = "named in [Ports] but not there";
        else if (named.count(path))
            reason = "named in [Ports] but not a serial port" +
                     (e == 0 || e == ENOTTY ? std::string()
                                            : " (" + std::string(std::strerror(e)) + ")");
        else
            continue; // ttyS entries without a UART behind them are not worth a line
        out.push_back(Probe(sys, port.Map().NumberOf(path), path, false, reason));
    }
    tell("");
    for (const PortMap::UnusedLine& l : port.Map().Unused())
        out.push_back(Probe(sys, 0, l.path, false, l.key + " in [Ports]: " + l.reason));
    return out;
}

} // namespace r470
