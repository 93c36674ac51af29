#pragma once
// Starts another program detached from a command line.
#include <string>

namespace vireon {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started: not installed, or not executable. What it
    // does once started is not followed.
    virtual bool Launch(const std::string& commandLine) = 0;
};

}  // namespace vireon
