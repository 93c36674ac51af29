#pragma once
// The recording service over Windows' own wave-in calls. The device posts MM_WIM_OPEN,
// MM_WIM_DATA and MM_WIM_CLOSE to the window that opened it (CALLBACK_WINDOW); that window asks
// Translate which of the program's devices a message is about.
#include <vector>

#include "platform/audio/AudioInput.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

class WaveInAudioInput final : public AudioInput {
public:
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
    // is the handle open gave out); false for any other message.
    bool Translate(UINT message, WPARAM wParam, LPARAM lParam, WaveInMessage& result);

private:
    struct Device {
        AudioHandle Handle;
        HWAVEIN Wave;
        bool Closed;  // closed, its MM_WIM_CLOSE not yet translated
    };
    // The open device's HWAVEIN; null for a handle that is not open.
    HWAVEIN Find(AudioHandle handle) const;

    std::vector<Device> devices_;
    AudioHandle lastHandle_ = NoAudioHandle;
};

}  // namespace vireon
