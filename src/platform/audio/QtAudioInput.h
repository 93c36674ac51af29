#pragma once
// The recording service over Qt Multimedia. Device 0 is the system's default recording source.
// Create it after the QCoreApplication, on the thread whose event loop handles the
// notifications; every notification is a WaveInEvent posted to the open call's target.
#include <cstdint>
#include <map>
#include <memory>

#include "AudioInput.h"

namespace vireon {

class QtAudioDevice;

class QtAudioInput final : public AudioInput {
public:
    // chunkBytes: how much the sound server hands over at a time. The default, 0, takes the
    // length of the first buffer queued before the start: one hand-over per capture buffer, so
    // a buffer is never held back and larger buffers cost fewer wake-ups.
    explicit QtAudioInput(std::int32_t chunkBytes = DefaultChunkBytes);
    ~QtAudioInput() override;
    QtAudioInput(const QtAudioInput&) = delete;
    QtAudioInput& operator=(const QtAudioInput&) = delete;

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
    QtAudioDevice* find(AudioHandle device) const;

    std::int32_t chunkBytes_;
    std::map<AudioHandle, std::unique_ptr<QtAudioDevice>> devices_;
    AudioHandle lastHandle_ = NoAudioHandle;
};

}  // namespace vireon
