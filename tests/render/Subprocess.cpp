#include "tests/render/Subprocess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace vireon::testing {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
            entry.starts_with("QT_QPA_PLATFORM=") || entry.starts_with("ASAN_OPTIONS=") ||
            entry.starts_with("UBSAN_OPTIONS="))
            continue;
        env.push_back(entry);
    }
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        const char* old = std::getenv(name);
        std::string value = old && *old ? std::string(old) + ":" : std::string();
        env.push_back(std::string(name) + "=" + value + "exitcode=86");
    }
    return env;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stdinPath) {
    char outName[] = "/tmp/vireon-render-out.XXXXXX";
    char errName[] = "/tmp/vireon-render-err.XXXXXX";
    const int outFd = ::mkostemp(outName, O_CLOEXEC);
    const int errFd = ::mkostemp(errName, O_CLOEXEC);
    if (outFd < 0 || errFd < 0) throw std::runtime_error("mkstemp failed");

    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText = ChildEnvironment();
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    // A plain fork rather than posix_spawn: a child that shares the parent's memory until exec
    // would report the parent's peak memory as its own.
    const int inFd = ::open(stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
    const pid_t pid = inFd < 0 ? -1 : ::fork();
    if (pid == 0) {
        ::dup2(inFd, 0);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    const int spawnError = inFd < 0 ? errno : pid < 0 ? errno : 0;
    if (inFd >= 0) ::close(inFd);
    ::close(outFd);
    ::close(errFd);
    ProcessResult result;
    if (spawnError == 0) {
        int status = 0;
        struct rusage usage {};
        while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        result.peakMemoryKiB = usage.ru_maxrss;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    result.out = Slurp(outName);
    result.err = Slurp(errName);
    ::unlink(outName);
    ::unlink(errName);
    if (spawnError != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawnError));
    return result;
}

}  // namespace vireon::testing
