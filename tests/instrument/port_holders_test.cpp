// Who holds a port, which adapter a device is, and our own lock: over fixture trees of
// /sys, /proc, /dev and the lock folder, and over real pseudo-terminals.
#include "instrument/adapter_info.h"
#include "instrument/port_holders.h"
#include "instrument/port_probe.h"
#include "instrument/port_setup.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace r470 {
namespace {

namespace fs = std::filesystem;
using test::WriteText;

constexpr const char* kByIdName = "usb-Maker_Cable_A1B2C3-if00-port0";

// A machine in a folder: a USB adapter on ttyUSB0 with its by-id name, a built-in ttyS0,
// a terminal program (pid 2311) with ttyUSB0 open, and the lock folder.
struct Fixture {
    test::TempDir dir;
    PortSystem sys;
    Fixture() {
        sys = {dir.Path("sys"), dir.Path("proc"), dir.Path("dev"), dir.Path("lock")};
        fs::path usb = dir.Path("sys/devices/pci0000:00/usb1/1-2");
        fs::create_directories(usb / "1-2:1.0/ttyUSB0");
        WriteText((usb / "idVendor").string(), "0403\n");
        WriteText((usb / "idProduct").string(), "6001\n");
        WriteText((usb / "manufacturer").string(), "Maker\n");
        WriteText((usb / "product").string(), "USB Cable\n");
        WriteText((usb / "serial").string(), "A1B2C3\n");
        fs::create_directories(dir.Path("sys/devices/platform/serial8250"));
        for (auto [tty, target] :
             {std::pair{"ttyUSB0", "../../../devices/pci0000:00/usb1/1-2/1-2:1.0/ttyUSB0"},
              std::pair{"ttyS0", "../../../devices/platform/serial8250"}}) {
            fs::create_directories(dir.Path("sys/class/tty/") + tty);
            fs::create_symlink(target, dir.Path("sys/class/tty/") + tty + "/device");
        }
        fs::create_directories(dir.Path("sys/class/tty/tty1")); // virtual: no device link
        fs::create_directories(dir.Path("dev/serial/by-id"));
        fs::create_symlink("../../ttyUSB0", dir.Path("dev/serial/by-id/") + kByIdName);
        fs::create_directories(dir.Path("lock"));
        Process(2311, "termprog", {{"3", "/dev/ttyUSB0"}});
        Process(1, "init", {});
    }
    void Process(int pid, const std::string& name,
                 const std::vector<std::pair<std::string, std::string>>& fds) {
        fs::path p = fs::path(dir.Path("proc")) / std::to_string(pid);
        fs::create_directories(p / "fd");
        fs::create_directories(p / "fdinfo");
        WriteText((p / "comm").string(), name + "\n");
        for (auto& [fd, target] : fds)
            fs::create_symlink(target, p / "fd" / fd);
    }
    std::string Lock(const std::string& name) const { return dir.Path("lock/LCK..") + name; }
};

TEST(PortHolders, LockFilesOfLiveProcessesNameTheHolderAndStaleOnesGo) {
    Fixture f;
    char own[16];
    std::snprintf(own, sizeof own, "%10d\n", static_cast<int>(::getpid()));
    struct Case {
        const char* what;
        std::string content, expect; // the holder text, or "" for none
        bool kept;
    } cases[] = {
        {"ten ASCII digits", "         1\n", "In use by init (pid 1)", true},
        {"four binary bytes", std::string("\x01\0\0\0", 4), "In use by init (pid 1)", true},
        {"stale", "99999999\n", "", false},
        {"our own", own, "", true},
        {"no pid in it", "xy\n", "", true},
    };
    for (const Case& c : cases) {
        WriteText(f.Lock("ttyUSB1"), c.content);
        auto h = FindLockHolder(f.sys, "/dev/ttyUSB1");
        EXPECT_EQ(h ? HolderText(*h) : "", c.expect) << c.what;
        EXPECT_EQ(fs::exists(f.Lock("ttyUSB1")), c.kept) << c.what;
    }
}

TEST(PortHolders, AProcessWithTheDeviceOpenIsNamedButNotTheOtherEndOfAPty) {
    Fixture f;
    auto holder = FindOpenHolder(f.sys, "/dev/ttyUSB0");
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(HolderText(*holder), "In use by termprog (pid 2311)");
    EXPECT_FALSE(FindOpenHolder(f.sys, "/dev/ttyUSB1").has_value());
    // A simulator holding pty 4's master (and its port end) is the line, not a holder; a
    // process with another pty's master is still a holder of pty 4.
    f.Process(500, "simulator", {{"3", "/dev/ptmx"}, {"4", "/dev/pts/4"}});
    WriteText(f.dir.Path("proc/500/fdinfo/3"), "pos:\t0\nflags:\t02\ntty-index:\t4\n");
    EXPECT_FALSE(FindOpenHolder(f.sys, "/dev/pts/4").has_value());
    WriteText(f.dir.Path("proc/500/fdinfo/3"), "pos:\t0\ntty-index:\t5\n");
    auto other = FindOpenHolder(f.sys, "/dev/pts/4");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->pid, 500);
}

TEST(PortHolders, TheModemServiceHintOnlyForAUsbAdapterItMayBeProbing) {
    Fixture f;
    EXPECT_EQ(ModemServiceHint(f.sys, "/dev/ttyUSB0", std::nullopt), "") << "not running";
    f.Process(812, "ModemManager", {});
    std::string hint = ModemServiceHint(f.sys, "/dev/ttyUSB0", std::nullopt);
    EXPECT_NE(hint.find("ModemManager may be probing this USB adapter"), std::string::npos);
    EXPECT_NE(hint.find("ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                        "ENV{ID_MM_DEVICE_IGNORE}=\"1\""),
              std::string::npos);
    EXPECT_EQ(ModemServiceHint(f.sys, "/dev/ttyS0", std::nullopt), "") << "built-in";
    EXPECT_EQ(ModemServiceHint(f.sys, "/dev/ttyUSB0", PortHolder{2311, "termprog"}), "")
        << "someone else is named";
}

TEST(AdapterInfo, UsbAdapterBuiltInPortAndPseudoTerminal) {
    Fixture f;
    const std::string byId = f.dir.Path("dev/serial/by-id/") + kByIdName;
    struct Case {
        std::string device, description, byId;
        bool usb;
    } cases[] = {
        {"/dev/ttyUSB0", "Maker USB Cable, serial A1B2C3", byId, true},
        {"/dev/ttyS0", "built-in port", "", false},
        {"/dev/tty1", "", "", false},
        {"/dev/pts/7", "pseudo-terminal", "", false},
    };
    for (const Case& c : cases) {
        AdapterInfo a = DescribeAdapter(f.sys, c.device);
        EXPECT_EQ(a.description, c.description) << c.device;
        EXPECT_EQ(a.byId, c.byId) << c.device;
        EXPECT_EQ(a.usb, c.usb) << c.device;
    }
    // Named by its by-id path, the adapter is still found through the link.
    EXPECT_EQ(DescribeAdapter(f.sys, byId).description, "Maker USB Cable, serial A1B2C3");
}

// The fixture's ttyUSB0 made a real line: a link to a pseudo-terminal, so that it opens.
struct LiveFixture : Fixture {
    SimPty pty;
    LiveFixture() {
        EXPECT_EQ(pty.Open(), 0);
        fs::create_symlink(pty.PortPath(), dir.Path("dev/ttyUSB0"));
        fs::remove_all(dir.Path("proc/2311"));
    }
};

TEST(PortProbe, AByIdMappingIsFollowedAndTheAdapterListedOnceWithItsNames) {
    LiveFixture f;
    const std::string byId = f.dir.Path("dev/serial/by-id/") + kByIdName;
    PortMap map;
    map.Set(7, byId);
    EXPECT_EQ(map.NumberOf(f.dir.Path("dev/ttyUSB0")), 7);
    EXPECT_EQ(map.NumberOf(f.pty.PortPath()), 7);
    TermiosPort port(map, f.sys);
    std::vector<PortProbe> probes = ProbePorts(port);
    auto mine = std::count_if(probes.begin(), probes.end(), [&](const PortProbe& p) {
        return p.device == byId || p.device == f.dir.Path("dev/ttyUSB0");
    });
    EXPECT_EQ(mine, 1) << "one device, one line";
    auto it = std::find_if(probes.begin(), probes.end(),
                           [](const PortProbe& p) { return p.portNo == 7; });
    ASSERT_NE(it, probes.end());
    EXPECT_TRUE(it->usable);
    EXPECT_EQ(it->description, "Maker USB Cable, serial A1B2C3");
    EXPECT_EQ(it->byId, byId);
    EXPECT_EQ(PortProbeJson(*it), "{\"number\": 7, \"device\": \"" + byId + "\", \"by_id\": \"" +
                                      byId +
                                      "\", \"description\": \"Maker USB Cable, serial A1B2C3\", "
                                      "\"usable\": true, \"reason\": null}");
}

TEST(PortProbe, AHeldAdapterIsListedWithItsHolderNotLeftOut) {
    LiveFixture f;
    WriteText(f.Lock(fs::path(f.pty.PortPath()).filename().string()), "         1\n");
    TermiosPort port({}, f.sys);
    std::vector<PortProbe> probes = ProbePorts(port);
    auto it = std::find_if(probes.begin(), probes.end(), [&](const PortProbe& p) {
        return p.device == f.dir.Path("dev/ttyUSB0");
    });
    ASSERT_NE(it, probes.end());
    EXPECT_FALSE(it->usable);
    EXPECT_EQ(it->reason, "In use by init (pid 1)");
    EXPECT_EQ(it->description, "Maker USB Cable, serial A1B2C3");
    EXPECT_NE(PortProbeJson(*it).find("\"number\": null"), std::string::npos);
}

TEST(UucpLock, WrittenWhileWeHoldThePortAndGoneWhenItCloses) {
    test::TempDir lockDir;
    PortSystem sys;
    sys.lockDir = lockDir.Path();
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    const std::string lock = lockDir.Path("LCK..") + fs::path(pty.PortPath()).filename().string();
    TermiosPort port({}, sys);
    int h = port.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1);
    ASSERT_GE(h, 0);
    EXPECT_EQ(ReadLockPid(lock), ::getpid());
    EXPECT_EQ(fs::file_size(lock), 11u) << "ten digits and a line break";
    port.CloseCommPort(h);
    EXPECT_FALSE(fs::exists(lock));
    // Another program's live lock refuses the open with the program named.
    WriteText(lock, "         1\n");
    EXPECT_EQ(port.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1), CommCannotOpen);
    EXPECT_NE(port.LastOpenDetail().find("(pid 1)"), std::string::npos);
    EXPECT_TRUE(fs::exists(lock)) << "not ours to remove";
}

TEST(PortHolders, AProgramHoldingThePortWithoutAnyLockIsRefusedAndNamed) {
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    // A program that opens the port end without a lock, as cat does.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int fd = ::open(pty.PortPath().c_str(), O_RDWR | O_NOCTTY);
        ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        ::_exit(fd < 0 ? 3 : 4);
    }
    test::TempDir lockDir;
    PortSystem sys;
    sys.lockDir = lockDir.Path();
    TermiosPort port({}, sys);
    int h = -1;
    std::string detail;
    for (int i = 0; i < 200 && detail.empty(); ++i) { // until the child has it open
        h = port.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1);
        if (h >= 0)
            port.CloseCommPort(h);
        detail = port.LastOpenDetail();
        if (detail.empty())
            ::usleep(10000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(detail, "In use by sleep (pid " + std::to_string(child) + ")");
    EXPECT_TRUE(lockDir.Names().empty()) << "no lock left by the refused open";
    // Gone, it holds nothing: the port opens.
    h = port.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1);
    EXPECT_GE(h, 0);
    port.CloseCommPort(h);
}

} // namespace
} // namespace r470
