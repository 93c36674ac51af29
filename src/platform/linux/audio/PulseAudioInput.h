#pragma once
// The recording service over the PulseAudio client library (also what PipeWire's PulseAudio
// server speaks). Device 0 is the system's default recording source. Notifications are
// WaveInEvents posted to the open call's target, all from the calling thread and in order:
// filled buffers by the connection's timer on that thread, the rest by the calls themselves.
// No call waits for the server longer than PulseConnection::AnswerDeadline.
#include <cstdint>
#include <map>
#include <memory>

#include "platform/audio/AudioInput.h"
#include "platform/linux/audio/PulseConnection.h"

namespace vireon {

class PulseAudioDevice;

class PulseAudioInput final : public AudioInput {
public:
    // chunkBytes: how much the sound server sends at a time, kept within 256 bytes (one
    // waterfall column) and 8000 (one second); full buffers go back together once they hold that
    // much. The default, 0, takes the length of the first buffer queued before the start, so
    // larger buffers cost fewer pieces and fewer notifications.
    explicit PulseAudioInput(std::int32_t chunkBytes = DefaultChunkBytes);
    ~PulseAudioInput() override;
    PulseAudioInput(const PulseAudioInput&) = delete;
    PulseAudioInput& operator=(const PulseAudioInput&) = delete;

    static constexpr std::int32_t DefaultChunkBytes = 0;

    std::int32_t deviceCount() override;
    std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                      NotificationTarget target) override;
    std::int32_t prepareHeader(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) override;
    std::int32_t start(AudioHandle device) override;
    std::int32_t reset(AudioHandle device) override;
    std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                 std::uint32_t size) override;
    std::int32_t close(AudioHandle device) override;

    // A wait for the server also ends as soon as fd is readable (where a request to end the
    // program arrives), rather than at the deadline.
    void StopWaitingWhenReadable(int fd) { connection_.StopWaitingWhenReadable(fd); }

private:
    PulseAudioDevice* find(AudioHandle device) const;

    std::int32_t chunkBytes_;
    PulseConnection connection_;  // outlives the devices
    std::map<AudioHandle, std::unique_ptr<PulseAudioDevice>> devices_;
    AudioHandle lastHandle_ = NoAudioHandle;
};

}  // namespace vireon
