#pragma once
// File modes and forked children for the tests of what POSIX systems do: permissions, owners,
// resource limits.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace vireon::testing {

inline mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

struct ChildResult {
    bool exited = false;
    int code = -1;
    std::string output;
};

// Runs body in a forked child (for limits and identities the test process must not take on)
// and returns what it produced. The child leaves with _exit, skipping every destructor.
inline ChildResult RunInChild(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) std::abort();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string out;
        try {
            out = body();
        } catch (const std::exception& e) {
            out = std::string("unexpected exception: ") + e.what();
        }
        [[maybe_unused]] ssize_t n = ::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildResult result;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        result.output.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.code = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace vireon::testing
