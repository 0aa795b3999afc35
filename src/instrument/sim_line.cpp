#include "instrument/sim_line.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace r470 {
namespace {

termios RawLine() {
    termios t{};
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&t, B4800);
    ::cfsetospeed(&t, B4800);
    return t;
}

// Waits for `events` on `fd` for at most `us`; true when they came.
bool WaitFor(int fd, short events, std::int64_t us) {
    pollfd p{fd, events, 0};
    int ms = static_cast<int>((us + 999) / 1000);
    for (;;) {
        int r = ::poll(&p, 1, ms);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (p.revents & events);
    }
}

} // namespace

SimPty::~SimPty() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

int SimPty::Open() {
    termios t = RawLine();
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, &t, nullptr) != 0)
        return errno;
    path_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return 0;
}

int SimPty::Unread() const {
    int n = 0;
    return ::ioctl(slave_, FIONREAD, &n) == 0 ? n : 0;
}

int OpenSimDevice(const std::string& path, int& err) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    termios t = RawLine();
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        err = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

int WriteLine(int fd, std::span<const std::uint8_t> bytes, Clock& clock, std::int64_t perByteUs,
              std::int64_t stallUs) {
    const std::int64_t t0 = clock.NowUs();
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (perByteUs > 0) // absolute times: the rate does not drift with late wake-ups
            clock.SleepUntilUs(t0 + static_cast<std::int64_t>(done) * perByteUs);
        std::size_t chunk = perByteUs > 0 ? 1 : bytes.size() - done;
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno;
        if (!WaitFor(fd, POLLOUT, stallUs))
            return ETIMEDOUT;
    }
    return 0;
}

bool ReadLine(int fd, std::vector<std::uint8_t>& into, std::int64_t firstUs, std::int64_t idleUs,
              const std::function<bool(const std::vector<std::uint8_t>&)>& done) {
    std::uint8_t buf[1024];
    while (!done(into)) {
        if (!WaitFor(fd, POLLIN, into.empty() ? firstUs : idleUs))
            return false;
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        into.insert(into.end(), buf, buf + n);
    }
    return true;
}

} // namespace r470
