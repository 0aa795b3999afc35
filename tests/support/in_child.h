// Runs a piece of a test in a child process, optionally as the unprivileged user nobody,
// for what only shows without root (permissions) or would end the test process (signals).
#pragma once

#include <functional>
#include <grp.h>
#include <optional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace r470::test {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// The child's result, or nothing when it died or could not drop root.
inline std::optional<int> InChild(bool asNobody, const std::function<int()>& fn) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
        int r = fn();
        (void)!::write(fds[1], &r, sizeof r);
        ::_exit(0);
    }
    ::close(fds[1]);
    int r = 0;
    bool got = ::read(fds[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!got || !WIFEXITED(status))
        return std::nullopt;
    return r;
}

} // namespace r470::test
