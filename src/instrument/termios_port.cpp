#include "instrument/termios_port.h"

#include "instrument/port_release.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace r470 {
namespace {

bool SpeedFor(int baud, speed_t& out) {
    static const struct {
        int baud;
        speed_t speed;
    } kSpeeds[] = {{300, B300},     {600, B600},      {1200, B1200},   {2400, B2400},
                   {4800, B4800},   {9600, B9600},    {19200, B19200}, {38400, B38400},
                   {57600, B57600}, {115200, B115200}};
    for (const auto& s : kSpeeds) {
        if (s.baud == baud) {
            out = s.speed;
            return true;
        }
    }
    return false;
}

// The line configuration for the settings, or false when they make none.
bool BuildSettings(termios& t, int baud, char parity, int dataBits, int stopBits) {
    speed_t speed{};
    if (!SpeedFor(baud, speed))
        return false;
    tcflag_t size = 0;
    switch (dataBits) {
    case 5:
        size = CS5;
        break;
    case 6:
        size = CS6;
        break;
    case 7:
        size = CS7;
        break;
    case 8:
        size = CS8;
        break;
    default:
        return false;
    }
    if (stopBits != 1 && stopBits != 2)
        return false;
    tcflag_t par = 0;
    switch (parity) {
    case 'N':
    case 'n':
        break;
    case 'E':
    case 'e':
        par = PARENB;
        break;
    case 'O':
    case 'o':
        par = PARENB | PARODD;
        break;
    default:
        return false;
    }
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= size | par | (stopBits == 2 ? CSTOPB : 0) | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ::cfsetispeed(&t, speed) == 0 && ::cfsetospeed(&t, speed) == 0;
}

constexpr tcflag_t kCheckedFlags = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS;

// Bytes the UART or the driver's buffer dropped since the device was set up; -1 where the
// device keeps no count (a pseudo-terminal, a USB adapter without one).
long Overruns(int fd) {
#ifdef TIOCGICOUNT
    serial_icounter_struct c{};
    if (::ioctl(fd, TIOCGICOUNT, &c) == 0)
        return static_cast<long>(c.overrun) + c.buf_overrun;
#else
    (void)fd;
#endif
    return -1;
}

int Clamp16(int n) {
    return n < 0 ? 0 : (n > 65535 ? 65535 : n);
}

} // namespace

int TermiosPort::Held(const std::string& path, const std::optional<PortHolder>& holder) {
    lastErrno_ = EBUSY;
    lastDetail_ = holder ? HolderText(*holder) : std::string();
    if (std::string hint = ModemServiceHint(system_, path, holder); !hint.empty())
        lastDetail_ += (lastDetail_.empty() ? "" : "\n") + hint;
    return CommCannotOpen;
}

int TermiosPort::OpenCommPort(int portNo, int baud, char parity, int dataBits, int stopBits) {
    lastErrno_ = 0;
    lastDetail_.clear();
    std::string path = map_.DevicePath(portNo);
    if (path.empty())
        return CommNoDevice;
    return OpenDevice(path, baud, parity, dataBits, stopBits);
}

int TermiosPort::OpenToList(int portNo) {
    lastErrno_ = 0;
    lastDetail_.clear();
    std::string path = map_.DevicePath(portNo);
    return path.empty() ? CommNoDevice : Open(path, nullptr);
}

int TermiosPort::OpenDeviceToList(const std::string& path) {
    return Open(path, nullptr);
}

int TermiosPort::OpenDevice(const std::string& path, int baud, char parity, int dataBits,
                            int stopBits) {
    const Line line{baud, parity, dataBits, stopBits};
    return Open(path, &line);
}

int TermiosPort::Open(const std::string& path, const Line* settings) {
    lastErrno_ = 0;
    lastDetail_.clear();
    // A terminal program's lock file: it may not have the device open this moment.
    if (auto holder = FindLockHolder(system_, path))
        return Held(path, holder);
    // O_NONBLOCK: a port without carrier, or a FIFO named in the INI file, must not hang us.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EBUSY) // another program's TIOCEXCL
            return Held(path, FindOpenHolder(system_, path));
        lastErrno_ = errno;
        return CommCannotOpen;
    }
    // Anything else that is a character device (/dev/null) is no port, whoever holds it.
    if (!::isatty(fd)) {
        lastErrno_ = ENOTTY;
        ::close(fd);
        return CommNoState;
    }
    NoteHeldPort(fd);
    bool exclusive = false;
    auto fail = [&](int code) {
        ForgetHeldPort(fd);
        if (exclusive)
            (void)::ioctl(fd, TIOCNXCL);
        ::close(fd); // also drops the flock
        locks_.erase(fd);
        return code;
    };
    // The flock also keeps out programs that take the port without TIOCEXCL (and root,
    // whom TIOCEXCL does not stop).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno == EWOULDBLOCK ? EBUSY : errno;
        fail(CommCannotOpen);
        if (e == EBUSY)
            return Held(path, FindOpenHolder(system_, path));
        lastErrno_ = e;
        return CommCannotOpen;
    }
    // A program that opened the device without any lock would split the instrument's
    // bytes with us: refused before a byte is read.
    if (auto holder = FindOpenHolder(system_, path)) {
        fail(CommCannotOpen);
        return Held(path, holder);
    }
    PortHolder lockHolder;
    UucpLock lock;
    switch (lock.Take(system_, path, lockHolder)) {
    case UucpLock::Held: // locked by another program since we looked
        fail(CommCannotOpen);
        return Held(path, lockHolder);
    case UucpLock::Taken:
        NoteLockFile(fd, lock.Path());
        locks_[fd] = std::move(lock);
        break;
    case UucpLock::NotPossible: // a lock folder we may not write: the flock still guards us
        break;
    }
    exclusive = ::ioctl(fd, TIOCEXCL) == 0;
    if (!settings)
        return fd;

    const auto [baud, parity, dataBits, stopBits] = *settings;
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        lastErrno_ = errno;
        return fail(CommNoState);
    }
    if (!BuildSettings(t, baud, parity, dataBits, stopBits))
        return fail(CommCannotBuild);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        lastErrno_ = errno;
        return fail(CommCannotSetState);
    }
    // tcsetattr succeeds when any part was taken; the line must have all of it.
    termios now{};
    if (::tcgetattr(fd, &now) != 0 ||
        (now.c_cflag & kCheckedFlags) != (t.c_cflag & kCheckedFlags) ||
        ::cfgetospeed(&now) != ::cfgetospeed(&t))
        return fail(CommCannotSetState);
    // Modem lines up; a pseudo-terminal has none, which is not a failure.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &lines);
    overruns_[fd] = Overruns(fd);
    return fd;
}

int TermiosPort::CommInCount(int handle, std::uint32_t& errors) {
    errors = 0;
    int n = 0;
    if (::ioctl(handle, FIONREAD, &n) != 0) {
        errors = kCommDeviceLost;
        return 0;
    }
    if (auto it = overruns_.find(handle);
        it != overruns_.end() && it->second >= 0 && Overruns(handle) > it->second)
        errors |= kCommDataLost;
    return Clamp16(n);
}

int TermiosPort::CommOutCount(int handle, std::uint32_t& errors) {
    errors = 0;
    int n = 0;
    if (::ioctl(handle, TIOCOUTQ, &n) != 0) {
        errors = kCommDeviceLost;
        return 0;
    }
    return Clamp16(n);
}

int TermiosPort::CommRead(int handle, std::span<std::uint8_t> into) {
    for (;;) {
        ssize_t n = ::read(handle, into.data(), into.size());
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}

int TermiosPort::CommWrite(int handle, std::span<const std::uint8_t> from) {
    for (;;) {
        ssize_t n = ::write(handle, from.data(), from.size());
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}

int TermiosPort::CloseCommPort(int handle) {
    if (handle < 0)
        return -1;
    // A serial close waits (up to half a minute) for output a held line will never take:
    // give the last byte a moment to leave, then drop what is left.
    // Only a queue that is still full is flushed: on a pseudo-terminal the flush would
    // also throw away what the other end has not read yet.
    for (int i = 0;; ++i) {
        int n = 0;
        if (::ioctl(handle, TIOCOUTQ, &n) != 0 || n == 0)
            break;
        if (i == 250) {
            (void)::tcflush(handle, TCOFLUSH);
            break;
        }
        ::usleep(1000);
    }
    ForgetHeldPort(handle);
    (void)::ioctl(handle, TIOCNXCL);
    int result = ::close(handle) == 0 ? 0 : -1;
    locks_.erase(handle); // its lock file goes with it
    overruns_.erase(handle);
    return result;
}

} // namespace r470
