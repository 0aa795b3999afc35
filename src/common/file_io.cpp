#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

int IoCodeFromErrno(int err) {
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
        return 5;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return 101;
    default:
        return err;
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return OpenErrorCode(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return 5;
    }
    fd_ = fd;
    return 0;
}

int InFile::Read(std::span<std::uint8_t> into, std::size_t& got) {
    got = 0;
    if (fd_ < 0)
        return 6; // invalid handle
    while (got < into.size()) {
        ssize_t n = ::read(fd_, into.data() + got, into.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoCodeFromErrno(errno);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

void InFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

int MemorySource::Read(std::span<std::uint8_t> into, std::size_t& got) {
    got = std::min(into.size(), data_.size() - pos_);
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(pos_), got, into.begin());
    pos_ += got;
    return 0;
}

AtomicFile::~AtomicFile() {
    Abandon();
}

int AtomicFile::Begin(const std::string& path) {
    Abandon();
    struct stat target {};
    bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode))
        return 5;
    std::string dir = DirName(path);
    std::string base = BaseName(path);
    static std::mt19937 rng{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = dir + "/." + base + ".tmp" + std::to_string(rng() % 1000000);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return OpenErrorCode(path, errno);
        }
        if (exists) // a saved waveform keeps the permissions its file had
            (void)::fchmod(fd, target.st_mode & 07777);
        fd_ = fd;
        path_ = path;
        temp_ = temp;
        return 0;
    }
    return 5;
}

int AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0)
        return 6;
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoCodeFromErrno(errno);
        }
        if (n == 0)
            return 101;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int AtomicFile::Commit() {
    if (fd_ < 0)
        return 6;
    int code = 0;
    if (::fsync(fd_) != 0)
        code = IoCodeFromErrno(errno);
    if (::close(fd_) != 0 && code == 0)
        code = IoCodeFromErrno(errno);
    fd_ = -1;
    if (code == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0)
        code = IoCodeFromErrno(errno);
    if (code != 0) {
        ::unlink(temp_.c_str());
    } else {
        int dfd = ::open(DirName(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            (void)::fsync(dfd);
            ::close(dfd);
        }
    }
    temp_.clear();
    return code;
}

void AtomicFile::Abandon() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

int WriteFileSafely(const std::string& path, const std::function<int(ByteSink&)>& body) {
    AtomicFile f;
    if (int e = f.Begin(path); e != 0)
        return e;
    if (int e = body(f); e != 0)
        return e; // the temporary goes with `f`; the old file was never touched
    return f.Commit();
}

bool CanOpenForReading(const std::string& path) {
    InFile f;
    return f.Open(path) == 0;
}

std::string UserConfigDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config";
}

std::string DirName(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace r470
