// The serial layer over real pseudo-terminals: the open codes, exclusive use, the line
// settings, counts, reads and writes, and the COM number mapping.
#include "instrument/serial_port.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>

namespace r470 {
namespace {

using test::kPtyPort;
using test::MapToPty;

TEST(CommErrorText, EveryCodeHasItsTextAndOthersAreUnknown) {
    const std::pair<int, const char*> cases[] = {
        {-993, "Cannot find device"},
        {-994, "Cannot define path"},
        {-995, "Cannot get state"},
        {-996, "Cannot open COM port"},
        {-997, "Cannot setup COM port"},
        {-998, "Cannot build parameters"},
        {-999, "Cannot set state"},
        {-7, "Unknown error"},
        {0, "Unknown error"},
        {-1000, "Unknown error"},
    };
    for (auto [code, text] : cases)
        EXPECT_EQ(CommErrorText(code), text) << code;
}

TEST(PortMap, StandardRangesAndIniLinesThatWin) {
    test::TempDir dir;
    test::WriteText(dir.Path("R470.INI"), "[R470 3.04 Version]\nTop=3\n[Ports]\nCOM7=/dev/pts/3\n"
                                          "com33 = /tmp/usb\nCOM300=/dev/nope\nCOM8=\n");
    PortMap m = PortMap::FromIni(dir.Path("R470.INI"));
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyS0"},
        {6, "/dev/ttyS5"},
        {7, "/dev/pts/3"},
        {8, "/dev/ttyS7"},
        {32, "/dev/ttyS31"},
        {33, "/tmp/usb"},
        {34, "/dev/ttyUSB1"},
        {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"},
        {96, "/dev/ttyACM31"},
        {97, ""},
        {0, ""},
        {-2, ""},
        {300, ""},
    };
    for (auto [n, path] : cases)
        EXPECT_EQ(m.DevicePath(n), path) << n;
    EXPECT_EQ(m.NumberOf("/dev/pts/3"), 7);
    EXPECT_EQ(m.NumberOf("/dev/ttyUSB1"), 34);
    EXPECT_EQ(m.NumberOf("/dev/ttyUSB0"), 0); // its number now names another path
    EXPECT_EQ(m.NumberOf("/dev/other"), 0);
    EXPECT_EQ(PortMap::FromIni(dir.Path("missing.INI")).DevicePath(7), "/dev/ttyS6");
}

class SerialOpen : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(pty.Open(), 0); }
    SimPty pty;
    test::TempDir dir;
};

TEST_F(SerialOpen, CodesAtTheirStepsAndNothingLeftHeld) {
    TermiosPort port(MapToPty(pty.PortPath()));
    EXPECT_EQ(port.OpenCommPort(200, 4800, 'N', 8, 1), CommNoDevice);

    PortMap missing;
    missing.Set(9, dir.Path("no-such-tty"));
    TermiosPort gone(missing);
    EXPECT_EQ(gone.OpenCommPort(9, 4800, 'N', 8, 1), CommCannotOpen);
    EXPECT_EQ(gone.LastErrno(), ENOENT);

    // Not a terminal: opened (without blocking, even a FIFO) but it has no line state.
    test::WriteText(dir.Path("plain"), "x");
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    PortMap files;
    files.Set(1, dir.Path("plain"));
    files.Set(2, dir.Path("fifo"));
    TermiosPort notTty(files);
    EXPECT_EQ(notTty.OpenCommPort(1, 4800, 'N', 8, 1), CommNoState);
    EXPECT_EQ(notTty.OpenCommPort(2, 4800, 'N', 8, 1), CommNoState);
    int fd = ::open(dir.Path("plain").c_str(), O_RDONLY);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << "a failed open kept its lock";
    ::close(fd);

    // Settings that make no line configuration; the port is free again after each.
    const int bad[][4] = {
        {1234, 'N', 8, 1}, {4800, 'X', 8, 1}, {4800, 'N', 9, 1}, {4800, 'N', 8, 3}};
    for (const auto& b : bad) {
        EXPECT_EQ(port.OpenCommPort(kPtyPort, b[0], static_cast<char>(b[1]), b[2], b[3]),
                  CommCannotBuild)
            << b[0] << " " << b[1] << " " << b[2] << " " << b[3];
        int h = port.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
        ASSERT_GE(h, 0) << "left held after a failed open";
        EXPECT_EQ(port.CloseCommPort(h), 0);
    }
}

TEST_F(SerialOpen, ASecondOpenIsRefusedUntilTheFirstCloses) {
    TermiosPort first(MapToPty(pty.PortPath())), second(MapToPty(pty.PortPath()));
    int h = first.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
    ASSERT_GE(h, 0);
    EXPECT_EQ(second.OpenCommPort(kPtyPort, 4800, 'N', 8, 1), CommCannotOpen);
    EXPECT_EQ(second.LastErrno(), EBUSY);
    EXPECT_EQ(second.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1), CommCannotOpen);
    EXPECT_EQ(first.CloseCommPort(h), 0);
    int again = second.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
    EXPECT_GE(again, 0);
    second.CloseCommPort(again);
    EXPECT_EQ(first.CloseCommPort(-1), -1);
}

TEST_F(SerialOpen, TheLineIsRaw4800EightNoneOneWithoutFlowControl) {
    // Start from a cooked, slow, flow-controlled line to see every setting change.
    {
        int fd = ::open(pty.PortPath().c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        t.c_lflag |= ICANON | ECHO | ISIG;
        t.c_iflag |= IXON | IXOFF | ICRNL;
        t.c_oflag |= OPOST;
        t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
        ::cfsetospeed(&t, B9600);
        ::cfsetispeed(&t, B9600);
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
        ::close(fd);
    }
    TermiosPort port(MapToPty(pty.PortPath()));
    int h = port.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
    ASSERT_GE(h, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(h, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), B4800);
    EXPECT_EQ(::cfgetispeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_NE(::fcntl(h, F_GETFL) & O_NONBLOCK, 0);
    port.CloseCommPort(h);
}

TEST_F(SerialOpen, CountsReadsAndWritesMoveRawBytesBothWays) {
    TermiosPort port(MapToPty(pty.PortPath()));
    int h = port.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
    ASSERT_GE(h, 0);
    std::uint32_t errors = 7;
    EXPECT_EQ(port.CommInCount(h, errors), 0);
    EXPECT_EQ(errors, 0u);
    std::uint8_t none[4];
    EXPECT_EQ(port.CommRead(h, none), 0) << "a read of nothing must not wait";

    const std::vector<std::uint8_t> in = {'H', 0x0D, 0x0A, 0x00, 0x11, 0x13, 0xFF, 0x03};
    ASSERT_EQ(::write(pty.Fd(), in.data(), in.size()), 8);
    ASSERT_TRUE(test::WaitUnread(pty, 8));
    EXPECT_EQ(port.CommInCount(h, errors), 8);
    std::vector<std::uint8_t> got(8);
    EXPECT_EQ(port.CommRead(h, got), 8);
    EXPECT_EQ(got, in); // no CR/LF translation, no XON/XOFF taken out

    EXPECT_EQ(port.CommOutCount(h, errors), 0);
    EXPECT_EQ(port.CommWrite(h, in), 8);
    EXPECT_EQ(test::DrainMaster(pty), in);
    EXPECT_EQ(port.CloseCommPort(h), 0);
    EXPECT_EQ(port.CommInCount(h, errors), 0);
    EXPECT_EQ(errors, kCommDeviceLost);
}

} // namespace
} // namespace r470
