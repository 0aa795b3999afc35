#include "instrument/port_release.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace r470 {
namespace {

// Fixed storage, touched by the handler with plain system calls only.
struct HeldPort {
    std::atomic<int> fd{-1};
    std::atomic<bool> hasLock{false};
    char lock[512] = {};
};
static_assert(std::atomic<int>::is_always_lock_free);
constexpr int kMaxHeld = 16;
HeldPort gHeld[kMaxHeld];
char gLine[256] = {};
std::size_t gLineLen = 0;
bool gOnlyWhenHeld = false;

HeldPort* Find(int fd) {
    for (HeldPort& h : gHeld)
        if (h.fd.load() == fd)
            return &h;
    return nullptr;
}

void OnStopSignal(int sig) {
    int released = ReleaseHeldPorts();
    if (gLineLen > 0 && (released > 0 || !gOnlyWhenHeld))
        (void)!::write(2, gLine, gLineLen);
    ::_exit(128 + sig);
}

} // namespace

const int kStopSignals[4] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void NoteHeldPort(int fd) {
    if (fd < 0 || Find(fd))
        return;
    for (HeldPort& h : gHeld) {
        int free = -1;
        if (h.fd.compare_exchange_strong(free, fd)) {
            h.hasLock = false;
            return;
        }
    }
}

void NoteLockFile(int fd, const std::string& path) {
    HeldPort* h = Find(fd);
    if (!h || path.size() >= sizeof h->lock)
        return;
    std::memcpy(h->lock, path.c_str(), path.size() + 1);
    h->hasLock = true;
}

void ForgetHeldPort(int fd) {
    if (HeldPort* h = Find(fd)) {
        h->hasLock = false;
        h->fd = -1;
    }
}

int ReleaseHeldPorts() {
    int n = 0;
    for (HeldPort& h : gHeld) {
        int fd = h.fd.exchange(-1);
        if (fd < 0)
            continue;
        ++n;
        // What is still queued would only delay the close on a held line; we are stopping.
        (void)::tcflush(fd, TCOFLUSH);
        (void)::ioctl(fd, TIOCNXCL);
        (void)::close(fd);
        if (h.hasLock.exchange(false))
            (void)::unlink(h.lock);
    }
    return n;
}

void ReleasePortsOnSignals(const std::string& cancelledLine, bool onlyWhenHeld) {
    gLineLen = std::min(cancelledLine.size(), sizeof gLine);
    std::memcpy(gLine, cancelledLine.data(), gLineLen);
    gOnlyWhenHeld = onlyWhenHeld;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : kStopSignals)
        sigaddset(&sa.sa_mask, s); // one release, not one per signal
    for (int s : kStopSignals)
        sigaction(s, &sa, nullptr);
}

} // namespace r470
