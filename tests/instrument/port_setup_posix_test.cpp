#include "instrument/port_setup.h"

#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/in_child.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace r470 {
namespace {

TEST(PortList, APortHeldElsewhereIsMissingUntilReleased) {
    SimPty a, b;
    ASSERT_EQ(a.Open(), 0);
    ASSERT_EQ(b.Open(), 0);
    PortMap map;
    map.Set(200, a.PortPath());
    map.Set(201, b.PortPath());
    TermiosPort port(map);
    auto listed = [&] {
        std::vector<int> all = ListedPorts(ProbePorts(port));
        return std::vector<int>(std::find(all.begin(), all.end(), 200), all.end());
    };
    EXPECT_EQ(listed(), (std::vector<int>{200, 201}));
    TermiosPort other(map);
    int held = other.OpenCommPort(201, 4800, 'N', 8, 1);
    ASSERT_GE(held, 0);
    EXPECT_EQ(listed(), (std::vector<int>{200}));
    std::vector<PortProbe> refused = UnusablePorts(ProbePorts(port));
    EXPECT_TRUE(std::any_of(refused.begin(), refused.end(), [&](const PortProbe& p) {
        return p.portNo == 201 && p.reason == "in use by another program";
    }));
    other.CloseCommPort(held);
    EXPECT_EQ(listed(), (std::vector<int>{200, 201}));
}

TEST(PortList, PortsLinesThatCannotBeUsedAreListedWithTheReason) {
    test::TempDir dir;
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    const std::string file = dir.Path("notes.txt");
    test::WriteText(file, "not a port\n");
    test::WriteText(dir.Path("R470.INI"),
                    "[Ports]\nCOM201=" + pty.PortPath() + "\nCOM202=" + file + "\nCOM300=" +
                        pty.PortPath() + "\ncom7x=/dev/ttyS0\n7=/dev/ttyS1\nCOM203=/dev/null\n");
    TermiosPort port(PortMap::FromIni(dir.Path("R470.INI")));
    std::vector<PortProbe> probes = ProbePorts(port);
    std::vector<int> listed = ListedPorts(probes);
    EXPECT_NE(std::find(listed.begin(), listed.end(), 201), listed.end());
    EXPECT_EQ(std::find(listed.begin(), listed.end(), 202), listed.end());
    struct Want {
        std::string device, reason;
    };
    for (const Want& w :
         {Want{file, "named in [Ports] but a regular file, not a serial port"},
          Want{pty.PortPath(), "COM300 in [Ports]: numbers above 256 are not used"},
          Want{"/dev/ttyS0", "COM7X in [Ports]: not a COM number from COM1 to COM256"},
          Want{"/dev/ttyS1", "7 in [Ports]: write it as COM7="},
          // Not a terminal: said so, whoever else has it open.
          Want{"/dev/null", "named in [Ports] but not a serial port"}}) {
        std::vector<PortProbe> refused = UnusablePorts(probes);
        EXPECT_TRUE(std::any_of(refused.begin(), refused.end(), [&](const PortProbe& p) {
            return p.device == w.device && p.reason == w.reason;
        })) << w.reason;
    }
}

// Listing only opens and closes: a port another program set to 9600 baud and 2 stop bits
// stays so (a pseudo-terminal keeps no parity or character size of its own).
TEST(PortList, ListingLeavesEveryPortAsItWas) {
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    termios t{};
    auto line = [&](bool set) {
        int fd = ::open(pty.PortPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        if (set) {
            t.c_cflag |= CSTOPB;
            ::cfsetspeed(&t, B9600);
            ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
        }
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        ::close(fd);
    };
    line(false);
    line(true);
    PortMap map;
    map.Set(220, pty.PortPath());
    TermiosPort port(map);
    std::vector<int> listed = ListedPorts(ProbePorts(port));
    EXPECT_NE(std::find(listed.begin(), listed.end(), 220), listed.end());
    line(false);
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B9600));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
}

TEST(PortList, ADeviceOfAGroupTheUserIsNotInSaysHowToJoinIt) {
    const group* dialout = ::getgrnam("dialout");
    if (::geteuid() != 0 || !dialout)
        GTEST_SKIP() << "needs root and a group dialout to make a device nobody may open";
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    ASSERT_EQ(::chown(pty.PortPath().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(pty.PortPath().c_str(), 0660), 0);
    PortMap map;
    map.Set(210, pty.PortPath());
    // 1: refused with the group and the command to join it; 2: offered although refused.
    auto verdict = test::InChild(true, [&] {
        TermiosPort port(map);
        std::vector<PortProbe> probes = ProbePorts(port);
        std::vector<int> listed = ListedPorts(probes);
        if (std::find(listed.begin(), listed.end(), 210) != listed.end())
            return 2;
        for (const PortProbe& p : UnusablePorts(probes))
            if (p.portNo == 210 &&
                p.reason == "permission denied: the device belongs to the group \"dialout\"; "
                            "join it with \"sudo usermod -aG dialout $USER\", then log out "
                            "and in again")
                return 1;
        return 0;
    });
    ASSERT_TRUE(verdict.has_value()) << "the child could not run as nobody";
    EXPECT_EQ(*verdict, 1);
}

} // namespace
} // namespace r470
