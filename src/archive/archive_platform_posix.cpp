#include "archive/archive_platform.h"

#include "common/file_io.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

std::string DefaultArchivePath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string dir;
    if (data && *data == '/') {
        dir = data;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            return {};
        dir = JoinPath(JoinPath(home, ".local"), "share");
    }
    return JoinPath(JoinPath(dir, "r470"), "archive.sqlite");
}

bool FileMarkedReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::string ArchiveWriterText(const std::string& path) {
    // A writer holds byte 120 of the shared-memory file (the WAL write lock) with a POSIX
    // lock, which F_GETLK names with its process.
    int fd = ::open((path + "-shm").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct flock lk {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    lk.l_start = 120;
    lk.l_len = 1;
    int rc = ::fcntl(fd, F_GETLK, &lk);
    ::close(fd);
    if (rc != 0 || lk.l_type == F_UNLCK || lk.l_pid <= 0)
        return {};
    std::string name;
    std::ifstream comm("/proc/" + std::to_string(lk.l_pid) + "/comm");
    std::getline(comm, name);
    return (name.empty() ? std::string("another program") : name) + " (pid " +
           std::to_string(lk.l_pid) + ")";
}

} // namespace r470
