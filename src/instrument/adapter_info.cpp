#include "instrument/adapter_info.h"

#include <filesystem>
#include <fstream>

namespace r470 {
namespace fs = std::filesystem;
namespace {

// The first line of a sysfs attribute, without its line break; "" when there is none.
std::string Attribute(const fs::path& p) {
    std::ifstream in(p);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// The name sysfs knows the device by: its own file name, else that of its link target.
std::string TtyName(const PortSystem& sys, const std::string& device) {
    for (const std::string& name : DeviceNames(device)) {
        std::string base = fs::path(name).filename().string();
        if (!base.empty() && Exists(fs::path(sys.sys) / "class/tty" / base))
            return base;
    }
    return {};
}

bool IsPseudoTerminal(const std::string& device) {
    for (const std::string& name : DeviceNames(device))
        if (name.starts_with("/dev/pts/"))
            return true;
    return false;
}

std::string ByIdName(const PortSystem& sys, const std::string& ttyName, const std::string& device) {
    const fs::path dir = fs::path(sys.dev) / "serial/by-id";
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code lec;
        fs::path target = fs::read_symlink(it->path(), lec);
        if (lec)
            continue;
        if (target.is_relative())
            target = (dir / target).lexically_normal();
        std::string base = target.filename().string();
        if ((!ttyName.empty() && base == ttyName) || target.string() == device)
            return it->path().string();
    }
    return {};
}

} // namespace

AdapterInfo DescribeAdapter(const PortSystem& sys, const std::string& device) {
    AdapterInfo info;
    const std::string tty = TtyName(sys, device);
    info.byId = ByIdName(sys, tty, device);
    if (tty.empty()) {
        if (IsPseudoTerminal(device))
            info.description = "pseudo-terminal";
        return info;
    }
    const fs::path link = fs::path(sys.sys) / "class/tty" / tty / "device";
    std::error_code ec;
    fs::path at = fs::canonical(link, ec);
    if (ec) // no hardware behind it: a virtual terminal or a pseudo-terminal
        return info;
    const fs::path root = fs::weakly_canonical(sys.sys, ec);
    // Up from the port to the USB device that carries the adapter's own strings.
    for (fs::path p = at; !p.empty() && p != root && p != p.parent_path(); p = p.parent_path()) {
        if (!Exists(p / "idVendor"))
            continue;
        info.usb = true;
        info.vendorId = Attribute(p / "idVendor");
        info.productId = Attribute(p / "idProduct");
        std::string text = Attribute(p / "manufacturer");
        if (std::string product = Attribute(p / "product"); !product.empty())
            text += (text.empty() ? "" : " ") + product;
        if (text.empty())
            text = "USB adapter " + info.vendorId + ":" + info.productId;
        if (std::string serial = Attribute(p / "serial"); !serial.empty())
            text += ", serial " + serial;
        info.description = text;
        return info;
    }
    info.description = "built-in port";
    return info;
}

} // namespace r470
