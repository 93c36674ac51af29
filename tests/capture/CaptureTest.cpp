// Starting, running, stopping and draining capture against the fake device.
#include <limits>
#include <numeric>

#include "tests/capture/CaptureFixture.h"

namespace vireon::testing {
namespace {

std::vector<std::uint8_t> Pattern(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return bytes;
}

std::vector<std::uint8_t> Joined(const std::vector<RecordingWindow::Block>& blocks) {
    std::vector<std::uint8_t> all;
    for (const auto& b : blocks) all.insert(all.end(), b.bytes.begin(), b.bytes.end());
    return all;
}

TEST_F(CaptureTest, StartOpensTheFirstDeviceWithTenBuffersQueuedAndRunning) {
    StartReceive(state, context);

    EXPECT_EQ(audio.openedDeviceId, 0);
    EXPECT_EQ(audio.openedFormat, (WaveFormat{1, 1, 8000, 8000, 1, 8, 0}));
    EXPECT_EQ(audio.openedTarget, target());
    const AudioHandle device = state.WaveInHandle;
    ASSERT_TRUE(audio.isOpen(device));
    ASSERT_EQ(audio.queued(device), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        const WaveHeader* h = audio.queuedHeader(device, i);
        EXPECT_EQ(h->BufferLength, 128);
        EXPECT_EQ(h->BytesRecorded, 0);
        EXPECT_EQ(h->Flags, std::uint32_t{HeaderPrepared | HeaderQueued});
        EXPECT_EQ(h->Loops, 0u);
    }
    EXPECT_EQ(audio.calls(AudioCall::Start), 1);
    EXPECT_TRUE(state.Receiving);
    EXPECT_FALSE(state.Stopping);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_EQ(window.menuUpdates, 1);
    EXPECT_FALSE(window.startEnabled);
    EXPECT_TRUE(window.stopEnabled);
    EXPECT_TRUE(boxes.shown.empty());
}

struct LengthCase {
    std::int32_t multiplier;
    std::int32_t bytes;
};

class BufferLengthTest : public CaptureTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(BufferLengthTest, BufferLengthIs128TimesTheMultiplierKeptWithinRange) {
    multiplier = GetParam().multiplier;
    StartReceive(state, context);
    ASSERT_EQ(audio.queued(state.WaveInHandle), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(audio.queuedHeader(state.WaveInHandle, i)->BufferLength, GetParam().bytes);
    }
    EXPECT_EQ(multiplier, GetParam().multiplier);  // the setting itself is left as written
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Multipliers, BufferLengthTest,
    ::testing::Values(LengthCase{1, 128}, LengthCase{4, 512}, LengthCase{2, 256},
                      LengthCase{0, 128}, LengthCase{-1, 128},
                      LengthCase{std::numeric_limits<std::int32_t>::min(), 128},
                      LengthCase{1024, 131072}, LengthCase{1025, 131072},
                      LengthCase{std::numeric_limits<std::int32_t>::max(), 131072}),
    [](const auto& param) {
        const std::int32_t m = param.param.multiplier;
        return (m < 0 ? "Minus" + std::to_string(-static_cast<std::int64_t>(m))
                      : std::to_string(m));
    });

TEST_F(CaptureTest, MultiplierIsReadAfreshForEveryBufferMade) {
    StartReceive(state, context);
    multiplier = 3;
    audio.fillBuffers(state.WaveInHandle, 1);
    deliverAll();
    ASSERT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_EQ(audio.queuedHeader(state.WaveInHandle, 8)->BufferLength, 128);
    EXPECT_EQ(audio.queuedHeader(state.WaveInHandle, 9)->BufferLength, 384);
}

TEST_F(CaptureTest, StartWhileReceivingDoesNothing) {
    StartReceive(state, context);
    const AudioHandle device = state.WaveInHandle;
    std::vector<std::int32_t> before;
    for (std::size_t k = 0; k < AudioCallKinds; ++k) before.push_back(audio.calls(AudioCall(k)));

    StartReceive(state, context);

    for (std::size_t k = 0; k < AudioCallKinds; ++k) {
        EXPECT_EQ(audio.calls(AudioCall(k)), before[k]) << "call kind " << k;
    }
    EXPECT_EQ(state.WaveInHandle, device);
    EXPECT_EQ(audio.openDevices(), 1u);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_EQ(window.menuUpdates, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CaptureTest, StopWhileNotReceivingDoesNothing) {
    StopReceive(state, context);
    EXPECT_EQ(audio.calls(AudioCall::Reset), 0);
    EXPECT_EQ(window.menuUpdates, 0);
    EXPECT_FALSE(state.Stopping);

    // Stopped, and again while the buffers of that stop drain.
    StartReceive(state, context);
    StopReceive(state, context);
    StopReceive(state, context);
    deliverAll();
    StopReceive(state, context);
    EXPECT_EQ(audio.calls(AudioCall::Reset), 1);
    EXPECT_EQ(window.menuUpdates, 2);
}

TEST_F(CaptureTest, ReturnedBufferIsReplacedBeforeItsBlockIsProcessedThenFreed) {
    StartReceive(state, context);
    const std::vector<std::uint8_t> bytes = Pattern(128);
    audio.record(state.WaveInHandle, bytes);
    ASSERT_EQ(postedData(), 1u);
    deliverAll();

    ASSERT_EQ(window.blocks.size(), 1u);
    EXPECT_EQ(window.blocks[0].bytes, bytes);
    EXPECT_EQ(window.blocks[0].queuedMeanwhile, 10u);  // replacement queued first
    EXPECT_EQ(audio.calls(AudioCall::UnprepareHeader), 1);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_TRUE(state.Receiving);
}

TEST_F(CaptureTest, EveryRecordedByteReachesTheChainOnceAndInOrder) {
    StartReceive(state, context);
    const std::vector<std::uint8_t> bytes = Pattern(1000);  // 7 full buffers and 104 bytes
    EXPECT_EQ(audio.record(state.WaveInHandle, bytes), 1000);
    deliverAll();
    ASSERT_EQ(window.blocks.size(), 7u);
    StopReceive(state, context);
    deliverAll();

    EXPECT_EQ(Joined(window.blocks), bytes);
    ASSERT_EQ(window.blocks.size(), 17u);
    EXPECT_EQ(window.blocks[7].count, 104);
    for (std::size_t i = 8; i < 17; ++i) EXPECT_EQ(window.blocks[i].count, 0) << i;
    EXPECT_EQ(buffersMade(), 17u);
    EXPECT_EQ(audio.openDevices(), 0u);
}

TEST_F(CaptureTest, StopDrainsEveryBufferWithoutReplacementAndTheTenthClosesTheDevice) {
    StartReceive(state, context);
    const AudioHandle device = state.WaveInHandle;
    audio.record(device, 50);
    StopReceive(state, context);

    EXPECT_EQ(audio.calls(AudioCall::Reset), 1);
    EXPECT_TRUE(state.Stopping);
    EXPECT_FALSE(state.Receiving);
    EXPECT_EQ(window.menuUpdates, 2);
    EXPECT_TRUE(window.startEnabled);
    EXPECT_FALSE(window.stopEnabled);

    audio.posted.erase(audio.posted.begin());  // MM_WIM_OPEN
    ASSERT_EQ(postedData(), 10u);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(deliverOne());
        EXPECT_EQ(window.blocks.back().count, i == 0 ? 50 : 0) << i;
        EXPECT_EQ(state.BuffersOutstanding, 9 - i);
        EXPECT_EQ(audio.isOpen(device), i < 9) << i;
    }
    EXPECT_EQ(buffersMade(), 10u);  // nothing replaced
    EXPECT_EQ(audio.calls(AudioCall::Close), 1);
    EXPECT_EQ(audio.calls(AudioCall::UnprepareHeader), 10);
    ASSERT_EQ(audio.posted.size(), 1u);
    EXPECT_EQ(audio.posted[0].Message, MM_WIM_CLOSE);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CaptureTest, ZeroByteBlockIsPassedOnAndReleased) {
    StartReceive(state, context);
    StopReceive(state, context);
    deliverAll();
    ASSERT_EQ(window.blocks.size(), 10u);
    for (const auto& b : window.blocks) EXPECT_EQ(b.count, 0);
    EXPECT_EQ(audio.calls(AudioCall::UnprepareHeader), 10);
    EXPECT_EQ(state.BuffersOutstanding, 0);
}

TEST_F(CaptureTest, RestartAfterStopOpensAfreshWithTenNewBuffers) {
    StartReceive(state, context);
    const AudioHandle first = state.WaveInHandle;
    StopReceive(state, context);
    deliverAll();
    StartReceive(state, context);

    EXPECT_NE(state.WaveInHandle, first);
    EXPECT_EQ(audio.calls(AudioCall::Open), 2);
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_TRUE(state.Receiving);
    EXPECT_FALSE(state.Stopping);
    EXPECT_FALSE(window.startEnabled);
    EXPECT_TRUE(window.stopEnabled);
    EXPECT_EQ(audio.openDevices(), 1u);
}

TEST_F(CaptureTest, StartWhileTheStoppedDeviceStillDrainsKeepsTheirBuffersApart) {
    StartReceive(state, context);
    const AudioHandle old = state.WaveInHandle;
    const std::vector<std::uint8_t> bytes = Pattern(3 * 128 + 20);
    audio.record(old, bytes);
    StopReceive(state, context);
    StartReceive(state, context);  // the old device's 10 notifications are not handled yet
    const AudioHandle current = state.WaveInHandle;
    ASSERT_NE(current, old);

    deliverAll();

    EXPECT_FALSE(audio.isOpen(old));
    EXPECT_TRUE(audio.isOpen(current));
    EXPECT_EQ(audio.queued(current), 10u);  // none of the old buffers got a replacement
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_EQ(buffersMade(), 20u);
    EXPECT_TRUE(state.EarlierDevices.empty());
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(window.blocks.size(), 10u);
    EXPECT_EQ(Joined(window.blocks), bytes);

    // The new device runs as usual.
    audio.fillBuffers(current, 2);
    deliverAll();
    EXPECT_EQ(window.blocks.size(), 12u);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_EQ(audio.queued(current), 10u);
}

TEST_F(CaptureTest, QuickStopsAndStartsEachDrainTheirOwnDevice) {
    for (int i = 0; i < 3; ++i) {
        StartReceive(state, context);
        audio.record(state.WaveInHandle, 200);
        StopReceive(state, context);
    }
    StartReceive(state, context);
    EXPECT_EQ(state.EarlierDevices.size(), 3u);
    deliverAll();

    EXPECT_EQ(audio.openDevices(), 1u);
    EXPECT_TRUE(audio.isOpen(state.WaveInHandle));
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_EQ(state.BuffersOutstanding, 10);
    EXPECT_TRUE(state.EarlierDevices.empty());
    EXPECT_EQ(audio.calls(AudioCall::Close), 3);
    // Each stopped device: one full buffer, one of 72 bytes, eight empty; none replaced.
    EXPECT_EQ(window.blocks.size(), 30u);
    EXPECT_EQ(buffersMade(), 40u);
}

TEST_F(CaptureTest, ClosingTheWindowWhileReceivingStopsCaptureWithoutWaiting) {
    FormClose(state, context);
    EXPECT_EQ(audio.calls(AudioCall::Reset), 0);
    EXPECT_EQ(window.menuUpdates, 0);

    StartReceive(state, context);
    FormClose(state, context);
    EXPECT_EQ(audio.calls(AudioCall::Reset), 1);
    EXPECT_FALSE(state.Receiving);
    EXPECT_TRUE(state.Stopping);
    EXPECT_EQ(postedData(), 10u);  // handed back, still to be handled
    EXPECT_TRUE(window.blocks.empty());
}

TEST_F(CaptureTest, OnlyDataCloseAndLossNotificationsAreHandled) {
    StartReceive(state, context);
    const WaveInMessage open = audio.posted.at(0);
    ASSERT_EQ(open.Message, MM_WIM_OPEN);
    audio.posted.clear();
    const CaptureState before = state;

    struct Row {
        WaveInMessage message;
        bool handled;
    };
    const Row rows[] = {
        {open, false},
        {{MM_WIM_CLOSE, state.WaveInHandle, nullptr}, true},
        {{957, state.WaveInHandle, nullptr}, false},
        {{0, NoAudioHandle, nullptr}, false},
        {{MM_WIM_DATA, state.WaveInHandle, nullptr}, true},  // no header: nothing to do
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DispatchWaveInMessage(state, context, row.message), row.handled)
            << row.message.Message;
        EXPECT_EQ(state.Receiving, before.Receiving);
        EXPECT_EQ(state.Stopping, before.Stopping);
        EXPECT_EQ(state.BuffersOutstanding, before.BuffersOutstanding);
        EXPECT_EQ(state.WaveInHandle, before.WaveInHandle);
    }
    EXPECT_TRUE(window.blocks.empty());
    EXPECT_EQ(audio.queued(state.WaveInHandle), 10u);
    EXPECT_EQ(buffersMade(), 10u);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace vireon::testing
