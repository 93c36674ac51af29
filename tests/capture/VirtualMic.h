#pragma once
// Runs tests/support/virtual-mic for a test program: a PulseAudio daemon with a virtual
// microphone in a private temporary folder, its client variables set in this process, and the
// daemon stopped and the folder removed when the object goes (or, should the program crash,
// by the script's watchdog).
#include <string>

namespace vireon::testing {

class VirtualMic {
public:
    VirtualMic();
    ~VirtualMic();
    VirtualMic(const VirtualMic&) = delete;
    VirtualMic& operator=(const VirtualMic&) = delete;

    bool running() const { return running_; }
    const std::string& error() const { return error_; }
    // The sink whose sound the microphone hears.
    const std::string& sink() const { return sink_; }

    // Kills the daemon abruptly, as a crashing sound server would.
    void kill();
    // Starts the daemon again in the same folder (same socket, so clients find it again).
    bool restart();
    // Stops the daemon (SIGSTOP), as a stuck sound server looks to its clients: the socket stays
    // open and nothing answers. resume() lets it go on (SIGCONT).
    bool pause();
    bool resume();

private:
    bool start();
    int run(const std::string& command) const;

    std::string script_;
    std::string dir_;
    std::string sink_;
    std::string error_;
    int pid_ = 0;
    bool running_ = false;
};

}  // namespace vireon::testing
