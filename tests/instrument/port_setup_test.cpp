#include "instrument/port_setup.h"

#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/in_child.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <grp.h>
#include <sys/stat.h>

namespace r470 {
namespace {

TEST(PortList, OffersTheProbedPortsThatOpened) {
    std::vector<PortProbe> probes = {{17, "/dev/ttyS16", true, {}},
                                     {1, "/dev/ttyS0", true, {}},
                                     {3, "/dev/ttyS2", true, {}},
                                     {33, "/dev/ttyUSB0", false, "in use by another program"},
                                     {0, "/dev/ttyUSB40", false, "no COM number maps to it"}};
    EXPECT_EQ(ListedPorts(probes), (std::vector<int>{1, 3, 17}));
    std::vector<PortProbe> refused = UnusablePorts(probes);
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(refused[1].portNo, 0);
    // Ports 1 and 3 free with CommPort 2: 1 and 3 listed, 1 selected.
    std::vector<int> two = ListedPorts({probes[1], probes[2]});
    EXPECT_EQ(two, (std::vector<int>{1, 3}));
    EXPECT_EQ(two[static_cast<std::size_t>(PortBoxSelection(two, 2))], 1);
}

TEST(PortList, SelectsTheCurrentPortElseTheFirst) {
    EXPECT_EQ(PortBoxSelection({1, 3}, 2), 0);
    EXPECT_EQ(PortBoxSelection({1, 3}, 3), 1);
    EXPECT_EQ(PortBoxSelection({}, 2), -1);
    EXPECT_EQ(PortBoxSelection({5}, 0), 0);
}

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

TEST(PortNames, DeviceBesideTheNumberAndHelpLines) {
    PortMap map;
    map.Set(7, "/dev/pts/3");
    EXPECT_EQ(PortDeviceText(map, 1), "/dev/ttyS0");
    EXPECT_EQ(PortDeviceText(map, 33), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceText(map, 65), "/dev/ttyACM0");
    EXPECT_EQ(PortDeviceText(map, 7), "/dev/pts/3");
    EXPECT_EQ(PortDeviceText(map, 200), "no device");
    EXPECT_EQ(DeviceManagerHelpText(),
              "Open Device Manager\r\n(Start > Run > devmgmt.msc > ok)\r\nExpand Ports List\r\n"
              "Right Click on Port and select Properties\r\n\r\nSet Port Settings\r\n\r\n"
              "Bits Per Second (4800)\r\nData Bits (8)\r\nParity (None)\r\nStop Bits (1)\r\n"
              "Flow Control (Hardware)");
}

TEST(PortHelp, OnLinuxTellsWhatALinuxUserMustDo) {
    // What each part of the Linux help must hold; Windows' Device Manager is not one of them.
    struct Rule {
        const char* says;
        const char* text;
    };
    const Rule rules[] = {
        {"the group and the command to join it", "sudo usermod -aG dialout $USER"},
        {"a new login", "log out and in again"},
        {"where the adapter is", "/dev/ttyUSB0"},
        {"its stable name", "/dev/serial/by-id/"},
        {"the tool that lists the ports", "tdrtool ports"},
        {"that the program sets the line", "4800 baud, 8 data bits, no parity"},
        {"the flow control", "flow control"},
    };
    for (bool modem : {false, true}) {
        std::string help = LinuxPortHelpText(modem);
        for (const Rule& r : rules)
            EXPECT_NE(help.find(r.text), std::string::npos) << r.says;
        EXPECT_EQ(help.find("devmgmt"), std::string::npos);
        EXPECT_EQ(help.find("systemctl stop ModemManager") != std::string::npos, modem);
    }
#ifndef _WIN32
    EXPECT_EQ(PortHelpText().substr(0, 200), LinuxPortHelpText(false).substr(0, 200));
#endif
}

TEST(PortList, PortsLinesThatCannotBeUsedAreListedWithTheReason) {
    test::TempDir dir;
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    const std::string file = dir.Path("notes.txt");
    test::WriteText(file, "not a port\n");
    test::WriteText(dir.Path("R470.INI"), "[Ports]\nCOM201=" + pty.PortPath() + "\nCOM202=" + file +
                                              "\nCOM300=" + pty.PortPath() +
                                              "\ncom7x=/dev/ttyS0\n");
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
          Want{"/dev/ttyS0", "COM7X in [Ports]: not a COM number from COM1 to COM256"}}) {
        std::vector<PortProbe> refused = UnusablePorts(probes);
        EXPECT_TRUE(std::any_of(refused.begin(), refused.end(), [&](const PortProbe& p) {
            return p.device == w.device && p.reason == w.reason;
        })) << w.reason;
    }
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
