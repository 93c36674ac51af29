#include "tests/capture/VirtualMic.h"

#include <unistd.h>

#include <csignal>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace vireon::testing {
namespace {

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

VirtualMic::VirtualMic() : script_(VIREON_VIRTUAL_MIC) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vireon-mic-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a temporary folder";
        return;
    }
    dir_ = pattern;
    start();
}

VirtualMic::~VirtualMic() {
    if (dir_.empty()) return;
    resume();  // a stopped daemon would not hear the stop
    run(Quoted(script_) + " stop " + Quoted(dir_));
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

int VirtualMic::run(const std::string& command) const {
    return std::system((command + " </dev/null >/dev/null 2>&1").c_str());
}

bool VirtualMic::start() {
    const std::string command = Quoted(script_) + " start " + Quoted(dir_) + " " +
                                std::to_string(getpid()) + " </dev/null 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        error_ = "cannot run " + script_;
        return false;
    }
    std::string output;
    std::array<char, 512> chunk{};
    while (fgets(chunk.data(), static_cast<int>(chunk.size()), pipe) != nullptr)
        output += chunk.data();
    const int status = pclose(pipe);
    if (status != 0) {
        error_ = "virtual-mic start failed:\n" + output;
        return false;
    }
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string prefix = "export ";
        const auto eq = line.find('=');
        if (line.rfind(prefix, 0) != 0 || eq == std::string::npos) continue;
        const std::string name = line.substr(prefix.size(), eq - prefix.size());
        const std::string value = line.substr(eq + 1);
        setenv(name.c_str(), value.c_str(), 1);
        if (name == "VIREON_MIC_SINK") sink_ = value;
        if (name == "VIREON_MIC_PID") pid_ = std::atoi(value.c_str());
    }
    running_ = !sink_.empty();
    if (!running_) error_ = "virtual-mic printed no sink:\n" + output;
    return running_;
}

void VirtualMic::kill() {
    run(Quoted(script_) + " kill " + Quoted(dir_));
    running_ = false;
    pid_ = 0;
}

bool VirtualMic::pause() {
    return pid_ > 0 && ::kill(pid_, SIGSTOP) == 0;
}

bool VirtualMic::resume() {
    return pid_ > 0 && ::kill(pid_, SIGCONT) == 0;
}

bool VirtualMic::restart() {
    run(Quoted(script_) + " stop " + Quoted(dir_));
    return start();
}

}  // namespace vireon::testing
