#pragma once
// Starts a command line detached, and says whether the program could be started.
#include "platform/ProgramLauncher.h"

namespace vireon {

class QtProgramLauncher final : public ProgramLauncher {
public:
    bool Launch(const std::string& commandLine) override;
};

}  // namespace vireon
