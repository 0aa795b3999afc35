#include "instrument/port_setup.h"


#include <gtest/gtest.h>

#include <algorithm>
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


TEST(PortNames, DeviceBesideTheNumberAndHelpLines) {
    PortMap map;
    map.Set(7, "/dev/pts/3");
    EXPECT_EQ(PortDeviceText(map, 1), "/dev/ttyS0");
    EXPECT_EQ(PortDeviceText(map, 33), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceText(map, 65), "/dev/ttyACM0");
    EXPECT_EQ(PortDeviceText(map, 7), "/dev/pts/3");
    EXPECT_EQ(PortDeviceText(map, 200), "no device");
    EXPECT_EQ(PortHelpText(),
              "Open Device Manager\r\n(Start > Run > devmgmt.msc > ok)\r\nExpand Ports List\r\n"
              "Right Click on Port and select Properties\r\n\r\nSet Port Settings\r\n\r\n"
              "Bits Per Second (4800)\r\nData Bits (8)\r\nParity (None)\r\nStop Bits (1)\r\n"
              "Flow Control (Hardware)");
}


} // namespace
} // namespace r470
