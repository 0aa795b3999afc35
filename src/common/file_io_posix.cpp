#include "common/file_io.h"

#include "common/temp_files.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace r470 {

int IoCodeFromErrno(int err, IoOp op) {
    switch (err) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case ENXIO: // a FIFO with no reader, a device that is not there
    case ENODEV:
        return 5;
    case EIO:
        return op == IoOp::Read ? 100 : 101;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return 101;
    default:
        return kUnknownErrnoBase + err;
    }
}

namespace {

// A missing folder on the way is "path not found", as opposed to a missing file.
int OpenErrorCode(const std::string& path, int err) {
    if (err == ENOENT) {
        struct stat st {};
        std::string dir = DirName(path);
        if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return 3;
    }
    return IoCodeFromErrno(err);
}

} // namespace

InFile::~InFile() {
    Close();
}

int InFile::Open(const std::string& path) {
    Close();
    // Looked at before opening: opening a device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return OpenErrorCode(path, errno);
    if (!S_ISREG(st.st_mode))
        return 5;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return OpenErrorCode(path, errno);
    // It may have been swapped for something else in between.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return 5;
    }
    handle_ = fd;
    return 0;
}

int InFile::Read(std::span<std::uint8_t> into, std::size_t& got) {
    got = 0;
    if (handle_ < 0)
        return 6; // invalid handle
    while (got < into.size()) {
        ssize_t n = ::read(handle_, into.data() + got, into.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoCodeFromErrno(errno, IoOp::Read);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

void InFile::Close() {
    if (handle_ >= 0)
        ::close(handle_);
    handle_ = -1;
}

namespace {

// A size limit must not kill the program half way through a save (and take every other
// unsaved waveform with it): with the signal ignored the write fails with EFBIG instead.
// Set on every save, not once: nothing else in the program may have put it back.
void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

int WriteAll(int fd, std::span<const std::uint8_t> bytes, off_t at) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoCodeFromErrno(errno, IoOp::Write);
        }
        if (n == 0)
            return 101;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int SyncAndClose(int fd) {
    int code = 0;
    if (::fsync(fd) != 0 && errno != EINVAL)
        code = IoCodeFromErrno(errno, IoOp::Write);
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = IoCodeFromErrno(errno, IoOp::Write);
    return code;
}

void SyncDir(const std::string& dir) {
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
}

// The file the name leads to: symbolic links followed, also a dangling one (a plain write
// would create the file it points at). Sets `code` on a loop or an unreadable link.
std::string FollowLinks(const std::string& path, int& code) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0) {
            code = IoCodeFromErrno(errno);
            return p;
        }
        std::string link(buf.data(), static_cast<std::size_t>(n));
        p = (!link.empty() && link[0] == '/') ? link : DirName(p) + "/" + link;
    }
    code = 3; // ELOOP
    return p;
}

// A short name of our own beside `target`, carrying our pid.
int CreateTemp(const std::string& dir, std::string& temp) {
    static std::mt19937 rng{std::random_device{}()};
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    RemoveAbandonedTemps(dir, std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string random;
        for (int i = 0; i < 6; ++i)
            random += kChars[rng() % (sizeof kChars - 1)];
        temp = dir + "/" + TempFileName(CurrentProcessId(), random);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes a temporary file and renames it to `target`. With `like`, the temporary first
// takes that file's owner, group and mode; `replaced` is false when that cannot be done and
// nothing was changed (the caller writes in place instead).
int WriteByRename(const std::string& target, std::span<const std::uint8_t> bytes,
                  const struct stat* like, bool& replaced) {
    replaced = false;
    std::string dir = DirName(target);
    std::string temp;
    int fd = CreateTemp(dir, temp);
    if (fd < 0)
        return IoCodeFromErrno(errno);
    auto drop = [&] {
        ::close(fd);
        ::unlink(temp.c_str());
    };
    if (like) {
        struct stat mine {};
        // Owner and group before the mode: a change of owner clears set-id bits.
        if (::fstat(fd, &mine) != 0 ||
            ((mine.st_uid != like->st_uid || mine.st_gid != like->st_gid) &&
             ::fchown(fd, like->st_uid, like->st_gid) != 0) ||
            ::fchmod(fd, like->st_mode & 07777) != 0 || ::fstat(fd, &mine) != 0 ||
            mine.st_uid != like->st_uid || mine.st_gid != like->st_gid ||
            (mine.st_mode & 07777) != (like->st_mode & 07777)) {
            drop();
            return 0;
        }
    }
    replaced = true;
    if (int e = WriteAll(fd, bytes, 0); e != 0) {
        drop();
        return e;
    }
    int e = SyncAndClose(fd);
    if (e == 0 && like) {
        // Still the same, singly linked file? Otherwise leave it to the in-place write.
        struct stat now {};
        if (::lstat(target.c_str(), &now) != 0 || now.st_ino != like->st_ino ||
            now.st_dev != like->st_dev || now.st_nlink != 1) {
            ::unlink(temp.c_str());
            replaced = false;
            return 0;
        }
    }
    if (e == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        e = IoCodeFromErrno(errno, IoOp::Write);
    if (e != 0) {
        ::unlink(temp.c_str());
        return e;
    }
    SyncDir(dir);
    return 0;
}

// Rewrites an open file in place; on a failed write its old bytes (when they could be read)
// are put back, so the file is never left half new.
int WriteInPlace(int fd, std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> old;
    bool haveOld = false;
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        old.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < old.size()) {
            ssize_t n = ::pread(fd, old.data() + got, old.size() - got, static_cast<off_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        haveOld = got == old.size();
    }
    int e = WriteAll(fd, bytes, 0);
    if (e == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        e = IoCodeFromErrno(errno, IoOp::Write);
    if (e == 0)
        e = SyncAndClose(fd);
    else if (haveOld) {
        (void)WriteAll(fd, old, 0);
        (void)::ftruncate(fd, static_cast<off_t>(old.size()));
        (void)SyncAndClose(fd);
    } else {
        ::close(fd);
    }
    return e;
}

// Holds back the signals that stop the program while a file is written, so that a stop
// never leaves a file half written or a temporary file behind; they act once it is whole.
class StopSignalsHeld {
  public:
    StopSignalsHeld() {
        sigset_t s;
        sigemptyset(&s);
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&s, sig);
        ::pthread_sigmask(SIG_BLOCK, &s, &old_);
    }
    ~StopSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

  private:
    sigset_t old_;
};

} // namespace

int WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    IgnoreFileSizeSignal();
    StopSignalsHeld held;
    if (path.empty())
        return 3;
    int code = 0;
    std::string real = FollowLinks(path, code);
    if (code != 0)
        return code;
    struct stat st {};
    if (::stat(real.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return IoCodeFromErrno(errno);
        bool replaced = false;
        int e = WriteByRename(real, bytes, nullptr, replaced);
        return e == 2 ? OpenErrorCode(real, ENOENT) : e;
    }
    if (!S_ISREG(st.st_mode))
        return 5;
    // Exactly the check a plain write makes: may this user open this file for writing?
    // Read access too when granted, to keep the old bytes for putting back.
    int fd = ::open(real.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EPERM))
        fd = ::open(real.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return OpenErrorCode(real, errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return 5;
    }
    // A new inode would lose a second hard link and any ACL or label kept in attributes.
    if (st.st_nlink == 1 && ::flistxattr(fd, nullptr, 0) <= 0) {
        bool replaced = false;
        int e = WriteByRename(real, bytes, &st, replaced);
        if (replaced) {
            ::close(fd);
            return e;
        }
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return WriteInPlace(fd, bytes);
}

std::string IniFolder() {
    return UserConfigDir();
}

char PreferredSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

std::size_t RootLength(const std::string& path) {
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderWritable(const std::string& dir) {
    return ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool MakeFolder(const std::string& dir) {
    return ::mkdir(dir.c_str(), 0700) == 0 || IsFolder(dir);
}

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

// A rename either happens whole or not at all here: nothing is ever left half way.
std::string KeptNewFile() {
    return {};
}

std::string UserConfigDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config";
}

} // namespace r470
