#pragma once
// Starts a command line detached; the outcome is ignored, as a missing program shows nothing.
#include "platform/ProgramLauncher.h"

namespace vireon {

class QtProgramLauncher final : public ProgramLauncher {
public:
    void Launch(const std::string& commandLine) override;
};

}  // namespace vireon
