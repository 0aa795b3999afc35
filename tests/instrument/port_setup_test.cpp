#include "instrument/port_setup.h"

#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>

namespace r470 {
namespace {

// Ports that open when their number is free; records every open and close.
class FakePorts : public SerialPort {
  public:
    std::set<int> free;
    std::vector<int> probed;
    std::set<int> open;
    int OpenCommPort(int n, int baud, char parity, int bits, int stop) override {
        probed.push_back(n);
        EXPECT_EQ(baud, 4800);
        EXPECT_EQ(parity, 'N');
        EXPECT_EQ(bits, 8);
        EXPECT_EQ(stop, 1);
        if (!free.count(n) || open.count(n))
            return CommCannotOpen;
        open.insert(n);
        return n + 1000;
    }
    int CommInCount(int, std::uint32_t&) override { return 0; }
    int CommOutCount(int, std::uint32_t&) override { return 0; }
    int CommRead(int, std::span<std::uint8_t>) override { return -1; }
    int CommWrite(int, std::span<const std::uint8_t>) override { return -1; }
    int CloseCommPort(int h) override {
        open.erase(h - 1000);
        return 0;
    }
};

TEST(PortList, ListsThePortsThatOpenAndClosesEachAtOnce) {
    FakePorts ports;
    ports.free = {1, 3, 17, 256, 257};
    EXPECT_EQ(ListOpenablePorts(ports), (std::vector<int>{1, 3, 17, 256}));
    EXPECT_TRUE(ports.open.empty());
    ASSERT_EQ(ports.probed.size(), 256u);
    EXPECT_EQ(ports.probed.front(), 1);
    EXPECT_EQ(ports.probed.back(), 256);
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
        std::vector<int> all = ListOpenablePorts(port);
        return std::vector<int>(std::find(all.begin(), all.end(), 200), all.end());
    };
    EXPECT_EQ(listed(), (std::vector<int>{200, 201}));
    TermiosPort other(map);
    int held = other.OpenCommPort(201, 4800, 'N', 8, 1);
    ASSERT_GE(held, 0);
    EXPECT_EQ(listed(), (std::vector<int>{200}));
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
    EXPECT_EQ(PortHelpText(),
              "Open Device Manager\r\n(Start > Run > devmgmt.msc > ok)\r\nExpand Ports List\r\n"
              "Right Click on Port and select Properties\r\n\r\nSet Port Settings\r\n\r\n"
              "Bits Per Second (4800)\r\nData Bits (8)\r\nParity (None)\r\nStop Bits (1)\r\n"
              "Flow Control (Hardware)");
}

TEST(PortProblems, ReasonsAUserCanActOn) {
    struct Case {
        DeviceFacts f;
        const char* reason; // a part of it; empty: no reason
    };
    const Case cases[] = {
        {{"/dev/ttyUSB0", 33, EACCES, "dialout", false, false},
         "only members of the group \"dialout\" may open it"},
        {{"/dev/ttyUSB0", 33, EACCES, "dialout", true, false}, "log out and in again"},
        {{"/dev/ttyUSB0", 33, EACCES, "", false, false}, "permission denied"},
        {{"/dev/ttyACM0", 65, EBUSY, "dialout", true, true}, "in use by another program"},
        {{"/dev/ttyS4", 5, EIO, "dialout", true, true}, ""},
        {{"/dev/ttyS4", 5, 0, "dialout", true, true}, ""},
        {{"/dev/ttyUSB40", 0, 0, "dialout", true, true}, "[Ports] section of R470.INI"},
    };
    for (const Case& c : cases) {
        std::string r = DeviceReason(c.f);
        if (std::string(c.reason).empty())
            EXPECT_EQ(r, "") << c.f.path;
        else
            EXPECT_NE(r.find(c.reason), std::string::npos) << r;
    }
}

TEST(PortProblems, FindsDevicesThatCannotBeUsed) {
    test::TempDir dir;
    SimPty free, held, numbered;
    ASSERT_EQ(free.Open(), 0);
    ASSERT_EQ(held.Open(), 0);
    ASSERT_EQ(numbered.Open(), 0);
    std::filesystem::create_symlink(free.PortPath(), dir.Path("ttyUSB90"));
    std::filesystem::create_symlink(held.PortPath(), dir.Path("ttyACM91"));
    std::filesystem::create_symlink(numbered.PortPath(), dir.Path("ttyS92"));
    test::WriteText(dir.Path("ttyS93"), ""); // not a device
    test::WriteText(dir.Path("ttyX1"), "");
    PortMap map;
    map.Set(9, dir.Path("ttyS92"));
    map.Set(10, dir.Path("ttyACM91"));
    TermiosPort other(map);
    int h = other.OpenCommPort(10, 4800, 'N', 8, 1);
    ASSERT_GE(h, 0);
    std::vector<DeviceProblem> got = UnusableDevices(map, dir.Path());
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].path, dir.Path("ttyACM91"));
    EXPECT_EQ(got[0].number, 10);
    EXPECT_EQ(got[0].reason, "in use by another program");
    EXPECT_EQ(got[1].path, dir.Path("ttyUSB90"));
    EXPECT_EQ(got[1].number, 0);
    EXPECT_NE(got[1].reason.find("no port number"), std::string::npos);
    other.CloseCommPort(h);
}

} // namespace
} // namespace r470
