#include "instrument/port_setup.h"

#include <gtest/gtest.h>

#include <algorithm>

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

} // namespace
} // namespace r470
