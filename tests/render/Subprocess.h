#pragma once
// Runs a program to completion with its standard streams on files, so nothing can deadlock.
#include <string>
#include <vector>

namespace vireon::testing {

struct ProcessResult {
    int exitCode = -1;  // 128 + signal number when killed by a signal
    std::string out;
    std::string err;
    long peakMemoryKiB = 0;  // the child's largest resident set
};

// The child inherits the environment without any display (DISPLAY, WAYLAND_DISPLAY,
// QT_QPA_PLATFORM), since the tool must not need one. Under the sanitizers their reports
// exit with 86, so that a report can never pass for the tool's own exit code 1.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stdinPath = "/dev/null");

}  // namespace vireon::testing
