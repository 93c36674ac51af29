#pragma once
// Starts a command line with CreateProcessW, and says whether the program could be started.
#include "platform/ProgramLauncher.h"

namespace vireon {

class Win32ProgramLauncher final : public ProgramLauncher {
public:
    bool Launch(const std::string& commandLine) override;
};

}  // namespace vireon
