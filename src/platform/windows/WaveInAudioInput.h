#pragma once
// The recording service over Windows' own wave-in calls. The device posts MM_WIM_OPEN,
// MM_WIM_DATA and MM_WIM_CLOSE to the window that opened it (CALLBACK_WINDOW); that window asks
// Translate which of the program's devices a message is about.
//
// Wave-in never says that a device has gone: an unplugged sound card, or a sound server that
// died, just stops handing buffers back, and the picture would freeze without a word. So a timer
// on the window watches every started device that has buffers queued, and once one has handed
// nothing back for StallBound beyond the time its longest buffer takes to fill, Translate makes
// the timer's message a WIM_DEVICE_LOST for it, as the PulseAudio layer does on Linux.
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/audio/AudioInput.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

class WaveInAudioInput final : public AudioInput {
public:
    static constexpr std::chrono::milliseconds StallBound = DeviceStallBound;
    // The timer's number on the device's window.
    static constexpr UINT_PTR StallTimer = 0x7C01;

    explicit WaveInAudioInput(std::chrono::milliseconds stallBound = StallBound);

    std::int32_t deviceCount() override;
    // The target is the HWND the device's messages go to.
    std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                      NotificationTarget target) override;
    std::int32_t prepareHeader(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t start(AudioHandle device) override;
    std::int32_t reset(AudioHandle device) override;
    std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                 std::uint32_t size) override;
    std::int32_t close(AudioHandle device) override;

    // A window message of one of this service's devices, as the capture logic takes it (Device
    // is the handle open gave out), or the stall timer's message turned into WIM_DEVICE_LOST for
    // a device that stalled; false for any other message, the timer's included when none did.
    bool Translate(UINT message, WPARAM wParam, LPARAM lParam, WaveInMessage& result);

private:
    struct Device {
        AudioHandle Handle;
        HWAVEIN Wave;
        HWND Target;
        std::uint32_t BytesPerSecond;
        bool Closed = false;             // closed, its MM_WIM_CLOSE not yet translated
        bool Watched = false;            // started, and neither reset nor reported lost since
        std::int32_t Queued = 0;         // buffers added and not yet handed back
        std::int32_t LongestBuffer = 0;  // in bytes, of those ever added
        std::uint64_t LastHeard = 0;     // Now() of the start or the last buffer back
    };
    // The open device's entry; null for a handle that is not open.
    Device* Find(AudioHandle handle);
    HWAVEIN Wave(AudioHandle handle);
    // The stall timer's round: WIM_DEVICE_LOST for the first device that stalled, if any.
    bool Stall(WaveInMessage& result);

    std::chrono::milliseconds stallBound_;
    std::vector<Device> devices_;
    std::vector<HWND> timed_;  // the windows the stall timer runs on
    AudioHandle lastHandle_ = NoAudioHandle;
};

}  // namespace vireon
