// With no sound server at all (the test runs with PULSE_SERVER naming a socket that does not
// exist), there is no recording device and a start says so.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/capture/Capture.h"
#include "platform/linux/audio/PulseAudioInput.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon::testing {
namespace {

class IdleWindow final : public CaptureHost {
public:
    void ProcessSamples(const std::uint8_t*, std::int32_t) override { ++blocks; }
    void UpdateReceiveMenus() override { ++menuUpdates; }
    int blocks = 0;
    int menuUpdates = 0;
};

TEST(NoServerTest, NoDeviceIsListedAndStartWarnsThatThereIsNone) {
    PulseAudioInput audio;
    EXPECT_EQ(audio.deviceCount(), 0);
    AudioHandle handle = 5;
    EXPECT_NE(audio.open(handle, 0, PcmMono8000(), nullptr), AudioOk);
    EXPECT_EQ(handle, NoAudioHandle);

    FakeMessageBoxes boxes;
    IdleWindow window;
    CaptureState state;
    const std::int32_t multiplier = 1;
    const CaptureContext context{audio, boxes, window, multiplier, nullptr};
    StartReceive(state, context);
    EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"There are no recording devices!", "", 48}}));
    EXPECT_FALSE(state.Receiving);
    EXPECT_EQ(window.menuUpdates, 0);
}

}  // namespace
}  // namespace vireon::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
