// What each failing device call shows and what survives it.
#include "tests/capture/CaptureFixture.h"

namespace vireon::testing {
namespace {

TEST_F(CaptureTest, NoRecordingDeviceWarnsAndOpensNothing) {
    audio.devices = 0;
    StartReceive(state, context);
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning("There are no recording devices!")});
    EXPECT_EQ(audio.calls(AudioCall::Open), 0);
    EXPECT_FALSE(state.Receiving);
    EXPECT_EQ(window.menuUpdates, 0);
    EXPECT_TRUE(window.startEnabled);
}

TEST_F(CaptureTest, OpenFailureWarnsAndAllocatesNothing) {
    audio.failCall(AudioCall::Open);
    StartReceive(state, context);
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning("Can't open audio device")});
    EXPECT_EQ(buffersMade(), 0u);
    EXPECT_EQ(audio.openDevices(), 0u);
    EXPECT_FALSE(state.Receiving);
    EXPECT_EQ(state.BuffersOutstanding, 0);
    EXPECT_EQ(window.menuUpdates, 0);

    StartReceive(state, context);  // the next try works
    EXPECT_TRUE(state.Receiving);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(CaptureTest, StartFailureWarnsAndHandsTheBuffersBackUntilTheDeviceIsClosed) {
    audio.failCall(AudioCall::Start);
    StartReceive(state, context);
    const AudioHandle failed = audio.lastOpened;

    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning("Error starting recording")});
    EXPECT_EQ(audio.calls(AudioCall::Reset), 1);
    EXPECT_FALSE(state.Receiving);
    EXPECT_FALSE(state.Stopping);
    EXPECT_EQ(window.menuUpdates, 0);
    EXPECT_TRUE(window.startEnabled);

    deliverAll();
    EXPECT_FALSE(audio.isOpen(failed));
    EXPECT_EQ(buffersMade(), 10u);  // none replaced
    EXPECT_EQ(window.blocks.size(), 10u);
    EXPECT_TRUE(state.EarlierDevices.empty());

    StartReceive(state, context);
    EXPECT_TRUE(state.Receiving);
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_FALSE(window.startEnabled);
}

TEST_F(CaptureTest, StartFailureWhileAnEarlierDeviceDrainsClosesBoth) {
    StartReceive(state, context);
    const AudioHandle first = state.WaveInHandle;
    StopReceive(state, context);
    audio.failCall(AudioCall::Start);
    StartReceive(state, context);
    deliverAll();
    EXPECT_FALSE(audio.isOpen(first));
    EXPECT_EQ(audio.openDevices(), 0u);
    EXPECT_TRUE(state.EarlierDevices.empty());
    EXPECT_EQ(buffersMade(), 20u);
}

struct BufferFailure {
    AudioCall call;
    std::int32_t skip;
    const char* text;
};

class BufferFailureTest : public CaptureTest,
                          public ::testing::WithParamInterface<BufferFailure> {};

TEST_P(BufferFailureTest, FailedBufferAtStartIsNotCountedAndCaptureGoesOn) {
    audio.failCall(GetParam().call, GetParam().skip);
    StartReceive(state, context);
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning(GetParam().text)});
    EXPECT_EQ(state.BuffersOutstanding, 9);
    EXPECT_EQ(audio.queued(state.WaveInHandle), 9u);
    EXPECT_TRUE(state.Receiving);
    EXPECT_FALSE(window.startEnabled);
}

TEST_P(BufferFailureTest, FailedReplacementLeavesOneBufferFewerInFlight) {
    StartReceive(state, context);
    audio.failCall(GetParam().call, GetParam().skip);
    audio.fillBuffers(state.WaveInHandle, 10);
    deliverAll();
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning(GetParam().text)});
    EXPECT_EQ(state.BuffersOutstanding, 9);
    EXPECT_EQ(window.blocks.size(), 10u);
    EXPECT_TRUE(audio.isOpen(state.WaveInHandle));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, BufferFailureTest,
    ::testing::Values(
        BufferFailure{AudioCall::PrepareHeader, 0, "Error preparing audio buffer"},
        BufferFailure{AudioCall::PrepareHeader, 9, "Error preparing audio buffer"},
        BufferFailure{AudioCall::AddBuffer, 0, "Error sending audio buffer to the device"},
        BufferFailure{AudioCall::AddBuffer, 4, "Error sending audio buffer to the device"}),
    [](const auto& param) {
        return std::string(param.param.call == AudioCall::PrepareHeader ? "Prepare" : "Queue") +
               "After" + std::to_string(param.param.skip);
    });

TEST_F(CaptureTest, ReplacementsFailingUntilNoneIsLeftCloseTheDeviceAndStopStillWorks) {
    StartReceive(state, context);
    const AudioHandle device = state.WaveInHandle;
    audio.failAlways(AudioCall::PrepareHeader);
    audio.fillBuffers(device, 10);
    deliverAll();

    EXPECT_EQ(boxes.shown.size(), 10u);
    EXPECT_EQ(state.BuffersOutstanding, 0);
    EXPECT_FALSE(audio.isOpen(device));
    EXPECT_TRUE(state.Receiving);

    audio.failCall(AudioCall::PrepareHeader, 0, 0);
    StopReceive(state, context);
    EXPECT_FALSE(state.Receiving);
    EXPECT_TRUE(window.startEnabled);
    StartReceive(state, context);
    EXPECT_TRUE(state.Receiving);
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_EQ(boxes.shown.size(), 10u);
}

TEST_F(CaptureTest, StartWithNoBufferQueuedClosesTheDeviceOnStop) {
    audio.failAlways(AudioCall::AddBuffer);
    StartReceive(state, context);
    EXPECT_EQ(boxes.shown.size(), 10u);
    EXPECT_EQ(boxes.shown.back(), Warning("Error sending audio buffer to the device"));
    EXPECT_EQ(state.BuffersOutstanding, 0);
    EXPECT_TRUE(state.Receiving);

    StopReceive(state, context);
    EXPECT_EQ(audio.openDevices(), 0u);  // nothing would come back to close it
}

TEST_F(CaptureTest, UnprepareFailureKeepsTheBufferAllocatedAndCounted) {
    StartReceive(state, context);
    const AudioHandle device = state.WaveInHandle;
    audio.failCall(AudioCall::UnprepareHeader);
    audio.fillBuffers(device, 1);
    WaveHeader* kept = audio.posted.back().Header;
    deliverAll();

    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning("Errore unprepare")});
    EXPECT_EQ(state.BuffersOutstanding, 11);  // replaced, and still counted
    EXPECT_EQ(audio.queued(device), 10u);

    StopReceive(state, context);
    deliverAll();
    EXPECT_EQ(state.BuffersOutstanding, 1);
    EXPECT_TRUE(audio.isOpen(device));

    // Releasing it later works; the next start then closes the idle device.
    EXPECT_TRUE(ReleaseBuffer(state, context, kept));
    EXPECT_EQ(state.BuffersOutstanding, 0);
    StartReceive(state, context);
    EXPECT_FALSE(audio.isOpen(device));
    EXPECT_EQ(audio.openDevices(), 1u);
}

TEST_F(CaptureTest, LostDeviceStopsReceivingWarnsAndCanBeStartedAgain) {
    StartReceive(state, context);
    const AudioHandle device = state.WaveInHandle;
    audio.record(device, 30);
    audio.loseDevice(device);
    deliverAll();

    EXPECT_FALSE(state.Receiving);
    EXPECT_TRUE(window.startEnabled);
    EXPECT_FALSE(window.stopEnabled);
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{Warning(
                               "Recording stopped: the recording device is no longer available.")});
    EXPECT_EQ(audio.calls(AudioCall::Reset), 1);
    ASSERT_EQ(window.blocks.size(), 10u);
    EXPECT_EQ(window.blocks[0].count, 30);
    EXPECT_EQ(buffersMade(), 10u);
    EXPECT_FALSE(audio.isOpen(device));

    StartReceive(state, context);
    EXPECT_TRUE(state.Receiving);
    EXPECT_NE(state.WaveInHandle, device);
}

TEST_F(CaptureTest, LossOfAStoppedOrEarlierDeviceIsIgnored) {
    StartReceive(state, context);
    const AudioHandle first = state.WaveInHandle;
    StopReceive(state, context);
    audio.loseDevice(first);  // while it drains
    StartReceive(state, context);
    deliverAll();

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(state.Receiving);
    EXPECT_FALSE(audio.isOpen(first));
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
}

}  // namespace
}  // namespace vireon::testing
