// A serial port on a pseudo-terminal with the simulated instrument's end in the test's
// hands: the port is COM5 through the [Ports] mapping, the clock is a fake one.
#pragma once

#include "instrument/data_transfer.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/fake_clock.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <unistd.h>
#include <vector>

namespace r470::test {

struct RecordingView : TransferView {
    std::string message;
    bool start = false, cancel = false;
    int max = -1, position = -1;
    std::vector<int> maxima;
    void SetMessage(const std::string& t) override { message = t; }
    void SetButtons(bool s, bool c) override {
        start = s;
        cancel = c;
    }
    void SetProgressMax(int m) override {
        max = m;
        maxima.push_back(m);
    }
    void SetProgress(int p) override { position = p; }
};

constexpr int kPtyPort = 5;

inline PortMap MapToPty(const std::string& path) {
    PortMap m;
    m.Set(kPtyPort, path);
    return m;
}

// Waits (bounded) until the port end holds `n` bytes it has not read.
inline bool WaitUnread(const SimPty& pty, int n) {
    for (int i = 0; i < 2000; ++i) {
        if (pty.Unread() >= n)
            return pty.Unread() == n;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Everything the port end has written so far (after a short settle for the pty to pass it).
inline std::vector<std::uint8_t> DrainMaster(const SimPty& pty) {
    std::vector<std::uint8_t> out;
    std::uint8_t buf[4096];
    for (int idle = 0; idle < 50;) {
        ssize_t n = ::read(pty.Fd(), buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
            idle = 0;
        } else {
            ++idle;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return out;
}

class LinkTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(pty.Open(), 0);
        port = std::make_unique<TermiosPort>(MapToPty(pty.PortPath()));
        transfer = std::make_unique<DataTransfer>(*port, clock, prompts, view);
        transfer->CommPort = kPtyPort;
        transfer->BufferFile = dir.Path("buffer.dat");
    }

    // The instrument puts `bytes` on the line; returns once the port end has them all.
    void Feed(const std::vector<std::uint8_t>& bytes) {
        int before = pty.Unread();
        ASSERT_EQ(::write(pty.Fd(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
        ASSERT_TRUE(WaitUnread(pty, before + static_cast<int>(bytes.size())));
    }

    // True when nobody holds the pty's port end.
    bool PortFree() {
        TermiosPort other(MapToPty(pty.PortPath()));
        int h = other.OpenCommPort(kPtyPort, 4800, 'N', 8, 1);
        if (h < 0)
            return false;
        other.CloseCommPort(h);
        return true;
    }

    SimPty pty;
    std::unique_ptr<TermiosPort> port;
    FakeClock clock;
    ScriptedPrompts prompts;
    RecordingView view;
    TempDir dir;
    std::unique_ptr<DataTransfer> transfer;
};

} // namespace r470::test
