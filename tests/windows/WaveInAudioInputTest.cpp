// The recording service over wave-in, through the virtual microphone (tests/windows/
// with-desktop): the handles it gives out and the messages it translates for them.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/windows/WaveInAudioInput.h"

namespace vireon::testing {
namespace {

// The device's messages to window, translated, until one of the given kind has come (or 5 s).
std::vector<WaveInMessage> Collect(HWND window, WaveInAudioInput& audio, std::int32_t until,
                                   ULONGLONG milliseconds = 5000) {
    std::vector<WaveInMessage> got;
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (::GetTickCount64() < end) {
        MSG message;
        if (!::PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            ::Sleep(5);
            continue;
        }
        WaveInMessage translated;
        if (!audio.Translate(message.message, message.wParam, message.lParam, translated)) continue;
        got.push_back(translated);
        if (translated.Message == until) break;
    }
    return got;
}

TEST(WaveInAudioInput, EachOpenHasItsOwnHandleTheDevicesMessagesCarry) {
    WaveInAudioInput audio;
    ASSERT_GT(audio.deviceCount(), 0) << "no recording device: is the virtual microphone up?";
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    std::vector<std::uint8_t> block(256);
    std::vector<AudioHandle> handles;
    for (int run = 0; run < 2; ++run) {
        AudioHandle device = NoAudioHandle;
        ASSERT_EQ(audio.open(device, 0, PcmMono8000(), window), AudioOk);
        handles.push_back(device);
        WaveHeader header{};
        header.Data = block.data();
        header.BufferLength = static_cast<std::int32_t>(block.size());
        EXPECT_EQ(audio.prepareHeader(device, &header, WaveHeaderSize - 4), AudioInvalidParam);
        ASSERT_EQ(audio.prepareHeader(device, &header, WaveHeaderSize), AudioOk);
        ASSERT_EQ(audio.addBuffer(device, &header, WaveHeaderSize), AudioOk);
        ASSERT_EQ(audio.start(device), AudioOk);
        const std::vector<WaveInMessage> filled = Collect(window, audio, MM_WIM_DATA);
        ASSERT_EQ(filled.size(), 2u);
        EXPECT_EQ(filled[0], (WaveInMessage{MM_WIM_OPEN, device, nullptr}));
        EXPECT_EQ(filled[1], (WaveInMessage{MM_WIM_DATA, device, &header}));
        EXPECT_EQ(header.BytesRecorded, header.BufferLength);
        EXPECT_TRUE(header.Flags & HeaderDone);

        EXPECT_EQ(audio.reset(device), AudioOk);
        EXPECT_EQ(audio.unprepareHeader(device, &header, WaveHeaderSize), AudioOk);
        ASSERT_EQ(audio.close(device), AudioOk);
        // Gone for every call, but its close still comes as its own.
        EXPECT_EQ(audio.start(device), AudioInvalidHandle);
        EXPECT_EQ(audio.close(device), AudioInvalidHandle);
        const std::vector<WaveInMessage> closed = Collect(window, audio, MM_WIM_CLOSE);
        ASSERT_FALSE(closed.empty());
        EXPECT_EQ(closed.back(), (WaveInMessage{MM_WIM_CLOSE, device, nullptr}));
    }
    EXPECT_NE(handles[0], handles[1]);
    EXPECT_NE(handles[1], NoAudioHandle);

    WaveInMessage other;
    EXPECT_FALSE(audio.Translate(WM_USER, 0, 0, other));
    ::DestroyWindow(window);
}

TEST(WaveInAudioInput, BuffersFillingSlowlyAnIdleDeviceAndAStoppedOneAreNoStall) {
    // A one-second bound, and a buffer that takes two seconds to fill: it comes back at about
    // two seconds, which is no stall.
    WaveInAudioInput audio{std::chrono::milliseconds(1000)};
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    std::vector<std::uint8_t> block(16000);
    AudioHandle device = NoAudioHandle;
    ASSERT_EQ(audio.open(device, 0, PcmMono8000(), window), AudioOk);
    WaveHeader header{};
    header.Data = block.data();
    header.BufferLength = static_cast<std::int32_t>(block.size());
    ASSERT_EQ(audio.prepareHeader(device, &header, WaveHeaderSize), AudioOk);
    ASSERT_EQ(audio.addBuffer(device, &header, WaveHeaderSize), AudioOk);
    ASSERT_EQ(audio.start(device), AudioOk);
    const std::vector<WaveInMessage> filled = Collect(window, audio, MM_WIM_DATA);
    ASSERT_EQ(filled.size(), 2u) << "a buffer filled in time was taken for a stall";
    EXPECT_EQ(filled[1], (WaveInMessage{MM_WIM_DATA, device, &header}));

    // Started with nothing queued it cannot hand anything back: not a stall either, however long
    // (here past the three seconds a queued buffer would have had).
    const std::vector<WaveInMessage> idle = Collect(window, audio, WIM_DEVICE_LOST, 3500);
    EXPECT_TRUE(idle.empty());

    // Stopped on purpose, a buffer queued is not filled until the next start: no stall.
    ASSERT_EQ(audio.reset(device), AudioOk);
    ASSERT_EQ(audio.addBuffer(device, &header, WaveHeaderSize), AudioOk);
    EXPECT_TRUE(Collect(window, audio, WIM_DEVICE_LOST, 2500).empty());

    ASSERT_EQ(audio.reset(device), AudioOk);
    const std::vector<WaveInMessage> back = Collect(window, audio, MM_WIM_DATA);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.back(), (WaveInMessage{MM_WIM_DATA, device, &header}));
    EXPECT_EQ(audio.unprepareHeader(device, &header, WaveHeaderSize), AudioOk);
    EXPECT_EQ(audio.close(device), AudioOk);
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace vireon::testing
