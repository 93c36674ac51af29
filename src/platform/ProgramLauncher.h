#pragma once
// Starts another program detached from a command line. The outcome is never examined.
#include <string>

namespace vireon {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual void Launch(const std::string& commandLine) = 0;
};

}  // namespace vireon
