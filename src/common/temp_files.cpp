#include "common/temp_files.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

namespace {

constexpr char kPrefix[] = ".r470~";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr int kRandomLength = 6;
constexpr std::time_t kAbandonedAfter = 60; // seconds without a change

bool IsRandomPart(const std::string& s) {
    if (s.size() != kRandomLength)
        return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool ProcessGone(pid_t pid) {
    // EPERM: alive, only someone else's.
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TempFileName(pid_t pid, const std::string& random6) {
    return kPrefix + std::to_string(pid) + "." + random6;
}

pid_t TempFileOwner(const std::string& name) {
    if (name.compare(0, kPrefixLength, kPrefix) != 0)
        return -1;
    std::string rest = name.substr(kPrefixLength);
    if (IsRandomPart(rest))
        return 0;
    auto dot = rest.find('.');
    if (dot == std::string::npos || dot == 0 || dot > 9 || !IsRandomPart(rest.substr(dot + 1)))
        return -1;
    pid_t pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
        if (rest[i] < '0' || rest[i] > '9')
            return -1;
        pid = pid * 10 + (rest[i] - '0');
    }
    return pid > 0 ? pid : -1;
}

void RemoveAbandonedTemps(const std::string& dir, std::time_t now) {
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0)
        return;
    DIR* d = ::fdopendir(dfd);
    if (!d) {
        ::close(dfd);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        pid_t owner = TempFileOwner(name);
        if (owner < 0)
            continue;
        struct stat st {};
        // Only plain files of this user, never through a link, and only when still quiet.
        if (::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || now - st.st_mtime < kAbandonedAfter)
            continue;
        // An older name gives no writer to ask; a minute without a change is long enough.
        if (owner == 0 || ProcessGone(owner))
            (void)::unlinkat(dfd, name.c_str(), 0);
    }
    ::closedir(d);
}

} // namespace r470
