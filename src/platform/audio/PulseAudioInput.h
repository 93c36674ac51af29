#pragma once
// The recording service over the PulseAudio client library (also what PipeWire's PulseAudio
// server speaks). Device 0 is the system's default recording source. Notifications are
// WaveInEvents posted to the open call's target; filled buffers are posted from the sound
// server's thread, everything else from the calling thread, all in order.
#include <cstdint>
#include <map>
#include <memory>

#include "platform/audio/AudioInput.h"
#include "platform/audio/PulseConnection.h"

namespace vireon {

class PulseAudioDevice;

class PulseAudioInput final : public AudioInput {
public:
    // chunkBytes: how much the sound server hands over at a time. The default, 0, takes the
    // length of the first buffer queued before the start: one hand-over per capture buffer, so
    // a buffer is never held back and larger buffers cost fewer wake-ups.
    explicit PulseAudioInput(std::int32_t chunkBytes = DefaultChunkBytes);
    ~PulseAudioInput() override;
    PulseAudioInput(const PulseAudioInput&) = delete;
    PulseAudioInput& operator=(const PulseAudioInput&) = delete;

    static constexpr std::int32_t DefaultChunkBytes = 0;

    std::int32_t deviceCount() override;
    std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                      QObject* target) override;
    std::int32_t prepareHeader(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t start(AudioHandle device) override;
    std::int32_t reset(AudioHandle device) override;
    std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                 std::uint32_t size) override;
    std::int32_t close(AudioHandle device) override;

private:
    PulseAudioDevice* find(AudioHandle device) const;

    std::int32_t chunkBytes_;
    PulseConnection connection_;  // outlives the devices
    std::map<AudioHandle, std::unique_ptr<PulseAudioDevice>> devices_;
    AudioHandle lastHandle_ = NoAudioHandle;
};

}  // namespace vireon
