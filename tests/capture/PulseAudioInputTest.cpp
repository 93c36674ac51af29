// The PulseAudio recording layer's own rules, recording from the virtual microphone: what open
// refuses, handles, the header rules, queue order, and what a reset hands back.
#include <gtest/gtest.h>

#include <QEvent>
#include <functional>
#include <vector>

#include "platform/linux/audio/PulseAudioInput.h"
#include "platform/linux/audio/WaveInEvent.h"
#include "tests/capture/RealAudioSupport.h"

namespace vireon::testing {
namespace {

// The window the notifications are posted to: keeps them in the order they arrive.
class Recorder final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != WaveInEvent::eventType()) return QObject::event(e);
        messages.push_back(static_cast<WaveInEvent*>(e)->message());
        return true;
    }
    std::size_t count(std::int32_t message) const {
        return static_cast<std::size_t>(
            std::count_if(messages.begin(), messages.end(),
                          [message](const WaveInMessage& m) { return m.Message == message; }));
    }
    std::vector<WaveInMessage> messages;
};

struct Buffer {
    explicit Buffer(std::int32_t bytes) : block(static_cast<std::size_t>(bytes)) {
        header.Data = block.data();
        header.BufferLength = bytes;
    }
    std::vector<std::uint8_t> block;
    WaveHeader header;
};

class PulseAudioInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Mic, nullptr);
        ASSERT_TRUE(Mic->running()) << Mic->error();
    }

    PulseAudioInput audio;
    Recorder target;
};

TEST_F(PulseAudioInputTest, OpenRefusesOtherDevicesAndFormatsThatAreNotPlainPcm) {
    ASSERT_GE(audio.deviceCount(), 1);
    const auto changed = [](std::function<void(WaveFormat&)> change) {
        WaveFormat f = PcmMono8000();
        change(f);
        return f;
    };
    struct Row {
        const char* what;
        std::int32_t device;
        WaveFormat format;
        std::int32_t result;
    };
    const Row rows[] = {
        {"second device", 1, PcmMono8000(), AudioBadDevice},
        {"negative device", -1, PcmMono8000(), AudioBadDevice},
        {"float samples", 0, changed([](WaveFormat& f) { f.FormatTag = 3; }), AudioBadFormat},
        {"12-bit", 0, changed([](WaveFormat& f) { f.BitsPerSample = 12; }), AudioBadFormat},
        {"no channel", 0, changed([](WaveFormat& f) { f.Channels = 0; }), AudioBadFormat},
        {"block alignment", 0, changed([](WaveFormat& f) { f.BlockAlign = 2; }), AudioBadFormat},
        {"byte rate", 0, changed([](WaveFormat& f) { f.AvgBytesPerSec = 4000; }), AudioBadFormat},
        {"extra data", 0, changed([](WaveFormat& f) { f.ExtraSize = 2; }), AudioBadFormat},
    };
    for (const Row& row : rows) {
        AudioHandle handle = 77;
        EXPECT_EQ(audio.open(handle, row.device, row.format, &target), row.result) << row.what;
        EXPECT_EQ(handle, NoAudioHandle) << row.what;
    }
    RunFor(0.05);
    EXPECT_TRUE(target.messages.empty());
}

TEST_F(PulseAudioInputTest, EveryOpenHasItsOwnHandleAndIsAnnouncedAsAreCloses) {
    AudioHandle a = NoAudioHandle;
    AudioHandle b = NoAudioHandle;
    ASSERT_EQ(audio.open(a, 0, PcmMono8000(), &target), AudioOk);
    ASSERT_EQ(audio.open(b, 0, PcmMono8000(), &target), AudioOk);
    EXPECT_NE(a, NoAudioHandle);
    EXPECT_NE(a, b);
    EXPECT_EQ(audio.close(a), AudioOk);
    EXPECT_EQ(audio.close(a), AudioInvalidHandle);
    EXPECT_EQ(audio.start(a), AudioInvalidHandle);
    EXPECT_EQ(audio.reset(a), AudioInvalidHandle);
    EXPECT_EQ(audio.close(b), AudioOk);
    ASSERT_TRUE(WaitFor([&] { return target.messages.size() == 4; }, 2.0));
    EXPECT_EQ(target.messages, (std::vector<WaveInMessage>{{MM_WIM_OPEN, a, nullptr},
                                                           {MM_WIM_OPEN, b, nullptr},
                                                           {MM_WIM_CLOSE, a, nullptr},
                                                           {MM_WIM_CLOSE, b, nullptr}}));
}

TEST_F(PulseAudioInputTest, QueuedHeadersAreTheDevicesUntilTheyComeBack) {
    AudioHandle h = NoAudioHandle;
    ASSERT_EQ(audio.open(h, 0, PcmMono8000(), &target), AudioOk);
    Buffer buffer(256);
    WaveHeader* header = &buffer.header;
    EXPECT_EQ(audio.addBuffer(h, header, WaveHeaderSize), AudioUnprepared);
    EXPECT_EQ(audio.prepareHeader(h, header, WaveHeaderSize - 1), AudioInvalidParam);
    EXPECT_EQ(audio.prepareHeader(h + 1000, header, WaveHeaderSize), AudioInvalidHandle);
    EXPECT_EQ(audio.prepareHeader(h, nullptr, WaveHeaderSize), AudioInvalidParam);
    ASSERT_EQ(audio.prepareHeader(h, header, WaveHeaderSize), AudioOk);
    ASSERT_EQ(audio.addBuffer(h, header, WaveHeaderSize), AudioOk);
    EXPECT_EQ(header->Flags, std::uint32_t{HeaderPrepared | HeaderQueued});

    EXPECT_EQ(audio.addBuffer(h, header, WaveHeaderSize), AudioStillRecording);
    EXPECT_EQ(audio.prepareHeader(h, header, WaveHeaderSize), AudioStillRecording);
    EXPECT_EQ(audio.unprepareHeader(h, header, WaveHeaderSize), AudioStillRecording);
    EXPECT_EQ(audio.close(h), AudioStillRecording);

    EXPECT_EQ(audio.reset(h), AudioOk);
    ASSERT_TRUE(WaitFor([&] { return target.count(MM_WIM_DATA) == 1; }, 2.0));
    EXPECT_EQ(target.messages.back(), (WaveInMessage{MM_WIM_DATA, h, header}));
    EXPECT_EQ(header->Flags, std::uint32_t{HeaderPrepared | HeaderDone});
    EXPECT_EQ(header->BytesRecorded, 0);
    EXPECT_EQ(audio.unprepareHeader(h, header, WaveHeaderSize), AudioOk);
    EXPECT_EQ(audio.close(h), AudioOk);
}

TEST_F(PulseAudioInputTest, BuffersFillInQueueOrderAndResetHandsBackTheRestInOrder) {
    AudioHandle h = NoAudioHandle;
    ASSERT_EQ(audio.open(h, 0, PcmMono8000(), &target), AudioOk);
    // Two short buffers, then three of a second each: the third is partly filled at the reset.
    std::vector<Buffer> buffers;
    for (std::int32_t bytes : {128, 128, 8000, 8000, 8000}) buffers.emplace_back(bytes);
    for (Buffer& b : buffers) {
        ASSERT_EQ(audio.prepareHeader(h, &b.header, WaveHeaderSize), AudioOk);
        ASSERT_EQ(audio.addBuffer(h, &b.header, WaveHeaderSize), AudioOk);
    }
    ASSERT_EQ(audio.start(h), AudioOk);
    ASSERT_TRUE(WaitFor([&] { return target.count(MM_WIM_DATA) == 2; }, 3.0));
    RunFor(0.3);
    EXPECT_EQ(target.count(MM_WIM_DATA), 2u);
    ASSERT_EQ(audio.reset(h), AudioOk);
    ASSERT_TRUE(WaitFor([&] { return target.count(MM_WIM_DATA) == 5; }, 2.0));
    RunFor(0.1);

    std::vector<WaveHeader*> order;
    for (const WaveInMessage& m : target.messages) {
        if (m.Message == MM_WIM_DATA) order.push_back(m.Header);
    }
    ASSERT_EQ(order.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(order[i], &buffers[i].header) << i;
    EXPECT_EQ(buffers[0].header.BytesRecorded, 128);
    EXPECT_EQ(buffers[1].header.BytesRecorded, 128);
    EXPECT_GT(buffers[2].header.BytesRecorded, 1000);  // about 0.3 s of it
    EXPECT_LT(buffers[2].header.BytesRecorded, 8000);
    EXPECT_EQ(buffers[3].header.BytesRecorded, 0);
    EXPECT_EQ(buffers[4].header.BytesRecorded, 0);

    for (Buffer& b : buffers)
        EXPECT_EQ(audio.unprepareHeader(h, &b.header, WaveHeaderSize), AudioOk);
    EXPECT_EQ(audio.close(h), AudioOk);
}

TEST_F(PulseAudioInputTest, FullBuffersComeBackTogetherButNeverWaitForRoomThatIsNotThere) {
    AudioHandle h = NoAudioHandle;
    ASSERT_EQ(audio.open(h, 0, PcmMono8000(), &target), AudioOk);
    // Short buffers go back in hand-overs of about one waterfall column (256 bytes)...
    std::vector<Buffer> buffers;
    for (int i = 0; i < 6; ++i) buffers.emplace_back(64);
    for (Buffer& b : buffers) {
        ASSERT_EQ(audio.prepareHeader(h, &b.header, WaveHeaderSize), AudioOk);
        ASSERT_EQ(audio.addBuffer(h, &b.header, WaveHeaderSize), AudioOk);
    }
    ASSERT_EQ(audio.start(h), AudioOk);
    // ...and when the last queued buffer is full, at once: the last two hold only 128 bytes.
    ASSERT_TRUE(WaitFor([&] { return target.count(MM_WIM_DATA) == 6; }, 3.0));
    for (Buffer& b : buffers) EXPECT_EQ(b.header.BytesRecorded, 64);
    EXPECT_EQ(audio.reset(h), AudioOk);
    for (Buffer& b : buffers)
        EXPECT_EQ(audio.unprepareHeader(h, &b.header, WaveHeaderSize), AudioOk);
    EXPECT_EQ(audio.close(h), AudioOk);
}

}  // namespace
}  // namespace vireon::testing
