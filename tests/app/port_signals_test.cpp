// Every stop releases the port: the real tdrtool receiving or sending on a pseudo-terminal
// that another process keeps open, stopped by each of the four signals.
#include "instrument/port_release.h"
#include "instrument/sim_line.h"
#include "instrument/termios_port.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace r470 {
namespace {

namespace fs = std::filesystem;

bool Exclusive(int fd) {
    int on = 0;
    return ::ioctl(fd, TIOCGEXCL, &on) == 0 && on != 0;
}

std::string LockOf(const std::string& device) {
    return PortSystem{}.LockFolder() + "/LCK.." + fs::path(device).filename().string();
}

// The pty stays open in this process (as a terminal program or the simulator would keep
// it) while tdrtool takes it, is stopped and must give it back at once.
struct StoppedRun {
    int status = -1;
    std::string err;
    bool exclusiveAfter = true, lockAfter = true, opensAfter = false, wasTaken = false;
};

StoppedRun StopDuring(const std::vector<std::string>& args, int sig, const test::TempDir& dir) {
    StoppedRun r;
    SimPty pty;
    if (pty.Open() != 0)
        return r;
    int watch = ::open(pty.PortPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    std::vector<std::string> all{TDRTOOL_PATH};
    for (const std::string& a : args)
        all.push_back(a == "PTY" ? pty.PortPath() : a);
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    const std::string errFile = dir.Path("err.txt");
    posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0)
        return r;
    posix_spawn_file_actions_destroy(&fa);
    // Taken: the exclusive flag is up. Then a moment into the transfer.
    for (int i = 0; i < 500 && !(r.wasTaken = Exclusive(watch)); ++i)
        ::usleep(10000);
    ::usleep(300000);
    ::kill(pid, sig);
    ::waitpid(pid, &r.status, 0);
    r.exclusiveAfter = Exclusive(watch);
    r.lockAfter = fs::exists(LockOf(pty.PortPath()));
    TermiosPort again;
    int h = again.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1);
    r.opensAfter = h >= 0;
    if (h >= 0)
        again.CloseCommPort(h);
    ::close(watch);
    auto e = test::ReadBytes(errFile);
    r.err.assign(e.begin(), e.end());
    return r;
}

TEST(PortSignals, EachStopDuringReceiveOrSendReleasesThePortAndLeavesNoFile) {
    test::TempDir dir;
    const std::string wave = dir.Path("W.KEL");
    ASSERT_EQ(std::system((std::string(TDRTOOL_PATH) + " synth --samples 2048 --out " + wave +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
    const std::string capture = dir.Path("cap.dat");
    struct Command {
        const char* name;
        std::vector<std::string> args;
    } commands[] = {
        {"receive", {"receive", "--device", "PTY", "--out", capture}},
        {"send", {"send", "--device", "PTY", wave + ":3"}},
    };
    for (const Command& c : commands) {
        for (int sig : kStopSignals) {
            SCOPED_TRACE(std::string(c.name) + " stopped by signal " + std::to_string(sig));
            StoppedRun r = StopDuring(c.args, sig, dir);
            ASSERT_TRUE(r.wasTaken) << r.err;
            ASSERT_TRUE(WIFEXITED(r.status)) << "killed, not ended";
            EXPECT_EQ(WEXITSTATUS(r.status), 128 + sig);
            EXPECT_NE(r.err.find(std::string("tdrtool ") + c.name + ": cancelled"),
                      std::string::npos)
                << r.err;
            EXPECT_FALSE(r.exclusiveAfter) << "the exclusive flag left set";
            EXPECT_FALSE(r.lockAfter) << "our lock file left behind";
            EXPECT_TRUE(r.opensAfter) << "the port cannot be taken again at once";
            EXPECT_FALSE(fs::exists(capture)) << "a partial capture";
        }
    }
}

// The window program's set-up: quiet when no port is held, and the port released when one
// is (a logout's SIGHUP while a transfer runs).
TEST(PortSignals, TheWindowProgramsHandlerReleasesAHeldPortOnHangUp) {
    test::TempDir lockDir;
    SimPty pty;
    ASSERT_EQ(pty.Open(), 0);
    int watch = ::open(pty.PortPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(watch, 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PortSystem sys;
        sys.lockDir = lockDir.Path();
        TermiosPort port({}, sys);
        ReleasePortsOnSignals("", true);
        if (port.OpenDevice(pty.PortPath(), 4800, 'N', 8, 1) < 0)
            ::_exit(3);
        ::raise(SIGHUP);
        ::_exit(4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGHUP);
    EXPECT_FALSE(Exclusive(watch));
    EXPECT_TRUE(lockDir.Names().empty());
    ::close(watch);
}

} // namespace
} // namespace r470
