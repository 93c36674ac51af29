// One virtual microphone for the whole test program: Qt connects to the sound server named in
// the environment once per process, so the daemon must be up before the first test touches
// audio, and a test that kills it restarts it in the same folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "tests/capture/RealAudioSupport.h"

namespace vireon::testing {

VirtualMic* Mic = nullptr;

namespace {

class MicEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        mic_ = std::make_unique<VirtualMic>();
        Mic = mic_.get();
    }
    void TearDown() override {
        Mic = nullptr;
        mic_.reset();
    }

private:
    std::unique_ptr<VirtualMic> mic_;
};

}  // namespace
}  // namespace vireon::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);  // one test runs the whole program, window and all
    ::testing::AddGlobalTestEnvironment(new vireon::testing::MicEnvironment);
    return RUN_ALL_TESTS();
}
