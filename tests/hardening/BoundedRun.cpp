#include "tests/hardening/BoundedRun.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <thread>

namespace vireon::testing {

namespace {

// A "Name:   1234 kB" field of /proc/self/status, in KiB.
long long StatusKiB(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(name) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size());
    return -1;
}

// Resident size in KiB from /proc/self/statm, cheaper to read often than status.
long long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

long long BoundKiB(long long fileBytes, int times) {
#if defined(__SANITIZE_ADDRESS__)
    // Redzones around every block and the quarantine of freed ones roughly double the cost.
    times *= 2;
#endif
    return fileBytes * times / 1024 + 64 * 1024;
}

BoundedRun RunBounded(const std::function<std::string()>& work, double limitSeconds) {
    int fds[2];
    if (::pipe(fds) != 0) std::abort();
    const auto began = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        // Start the peak from here: the child inherits the parent's high-water mark.
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        const long long start = StatusKiB("VmRSS");
        // The kernel's high-water mark can miss a large block that was mapped and unmapped
        // again, so the resident size is also sampled while the work runs.
        std::atomic<bool> done{false};
        std::atomic<long long> sampled{start};
        std::thread sampler([&] {
            while (!done.load()) {
                const long long now = ResidentKiB();
                if (now > sampled.load()) sampled.store(now);
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
        std::string outcome;
        try {
            outcome = work();
        } catch (const std::exception& e) {
            outcome = std::string("exception: ") + e.what();
        }
        done.store(true);
        sampler.join();
        const long long peak = std::max(StatusKiB("VmHWM"), sampled.load());
        WriteAll(fds[1], std::to_string(peak - start) + "\n" + outcome);
        ::_exit(0);
    }
    ::close(fds[1]);

    BoundedRun run;
    std::string report;
    const auto deadline = began + std::chrono::duration<double>(limitSeconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) {
            run.finished = true;
            break;
        }
        report.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (!run.finished) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    run.finished = run.finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const auto eol = report.find('\n');
    if (run.finished && eol != std::string::npos) {
        run.peakGrowthKiB = std::atoll(report.substr(0, eol).c_str());
        run.outcome = report.substr(eol + 1);
    }
    return run;
}

}  // namespace vireon::testing
