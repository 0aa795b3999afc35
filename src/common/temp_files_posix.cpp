#include "common/temp_files.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace r470 {

namespace {

bool ProcessGone(long pid) {
    // EPERM: alive, only someone else's.
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

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
        long owner = TempFileOwner(name);
        if (owner < 0)
            continue;
        struct stat st {};
        // Only plain files of this user, never through a link.
        if (::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        if (TempFileAbandoned(owner, st.st_mtime, now, owner > 0 && ProcessGone(owner)))
            (void)::unlinkat(dfd, name.c_str(), 0);
    }
    ::closedir(d);
}

} // namespace r470
