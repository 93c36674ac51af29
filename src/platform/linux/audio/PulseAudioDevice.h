#pragma once
// One opened recording device of PulseAudioInput: a record stream of the sound server whose
// data, taken in on the connection's timer, fills the queued buffers strictly in queue order.
// Full buffers are posted back to the target together once they hold about one waterfall
// column of samples (a buffer of the default length is half of one), so the window handles
// them in one go, once per column.
#include <pulse/sample.h>
#include <pulse/stream.h>

#include <cstdint>

#include "platform/audio/AudioInput.h"
#include "platform/linux/audio/PulseConnection.h"

namespace vireon {

class PulseAudioDevice final : private PulseConnection::Idler {
public:
    // chunkBytes: how much the server hands over at a time; 0 takes the length of the first
    // buffer queued before the start.
    PulseAudioDevice(PulseConnection& connection, AudioHandle handle,
                     const pa_sample_spec& sampleFormat, NotificationTarget target,
                     std::int32_t chunkBytes);
    ~PulseAudioDevice();
    PulseAudioDevice(const PulseAudioDevice&) = delete;
    PulseAudioDevice& operator=(const PulseAudioDevice&) = delete;

    bool HasQueued() const { return head_ != nullptr; }

    void Enqueue(WaveHeader* header);
    // False when the server refuses the stream, is gone, or does not answer in time.
    bool Start();
    // Stops recording and hands every queued buffer back, in order, each as its own notification.
    void Reset();
    void Post(std::int32_t message, WaveHeader* header = nullptr);

private:
    // The window draws a column every 255 samples: handing audio over any sooner than about
    // that only wakes it for nothing to show.
    static constexpr std::int32_t MinChunkBytes = 256;
    static constexpr std::int32_t MaxChunkBytes = 8000;  // one second

    static void OnState(pa_stream* stream, void* self);
    static void OnReadable(pa_stream* stream, std::size_t bytes, void* self);
    // Takes in one piece of what the stream holds; false when it holds none.
    bool TakePiece();
    // Takes in what the stream still holds and hands the full buffers over.
    void BeforeSleep() override;
    void Deliver(const std::uint8_t* data, std::size_t bytes);
    WaveHeader* PopHead();
    void HandOverFull();
    void StopStream();

    PulseConnection& connection_;
    AudioHandle handle_;
    pa_sample_spec sampleFormat_;
    NotificationTarget target_;
    std::int32_t chunkBytes_;
    pa_stream* stream_ = nullptr;
    WaveHeader* head_ = nullptr;  // queue linked through WaveHeader::Next
    WaveHeader* tail_ = nullptr;
    WaveHeader* filling_ = nullptr;  // the first queued buffer not yet full
    std::int32_t fullBytes_ = 0;     // in the full buffers before it, not yet handed back
    std::int32_t handOverBytes_ = MinChunkBytes;
    bool running_ = false;
    bool lost_ = false;
};

}  // namespace vireon
