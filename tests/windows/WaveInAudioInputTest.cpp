// The recording service over wave-in, through the virtual microphone (tests/windows/
// with-desktop): the handles it gives out and the messages it translates for them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/windows/WaveInAudioInput.h"

namespace vireon::testing {
namespace {

// The device's messages to window, translated, until one of the given kind has come (or 5 s).
std::vector<WaveInMessage> Collect(HWND window, WaveInAudioInput& audio, std::int32_t until) {
    std::vector<WaveInMessage> got;
    const ULONGLONG end = ::GetTickCount64() + 5000;
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

}  // namespace
}  // namespace vireon::testing
