#pragma once
// Records the programs and pages the window starts instead of starting them.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/UrlOpener.h"
#include "platform/ProgramLauncher.h"

namespace vireon::testing {

class FakeLauncher final : public ProgramLauncher {
public:
    bool Launch(const std::string& commandLine) override {
        launched.push_back(commandLine);
        if (fail) throw std::runtime_error("launch failed");
        const std::string program = commandLine.substr(0, commandLine.find(' '));
        return std::find(missing.begin(), missing.end(), program) == missing.end();
    }
    std::vector<std::string> launched;
    std::vector<std::string> missing;  // programs that cannot be started
    bool fail = false;
};

class FakeUrlOpener final : public UrlOpener {
public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

}  // namespace vireon::testing
