#include "platform/linux/audio/PulseAudioDevice.h"

#include <algorithm>
#include <cstring>

#include "platform/linux/audio/WaveInEvent.h"

namespace vireon {

PulseAudioDevice::PulseAudioDevice(PulseConnection& connection, AudioHandle handle,
                                   const pa_sample_spec& sampleFormat, NotificationTarget target,
                                   std::int32_t chunkBytes)
    : connection_(connection),
      handle_(handle),
      sampleFormat_(sampleFormat),
      target_(target),
      chunkBytes_(chunkBytes) {}

PulseAudioDevice::~PulseAudioDevice() {
    StopStream();
    connection_.CancelBeforeSleep(this);
}

void PulseAudioDevice::Enqueue(WaveHeader* header) {
    header->Next = nullptr;
    if (tail_ != nullptr) {
        tail_->Next = header;
    } else {
        head_ = header;
    }
    tail_ = header;
    if (filling_ == nullptr) filling_ = header;  // whatever is before it is full
}

WaveHeader* PulseAudioDevice::PopHead() {
    WaveHeader* header = head_;
    head_ = header->Next;
    if (head_ == nullptr) tail_ = nullptr;
    if (filling_ == header) filling_ = head_;
    header->Next = nullptr;
    header->Flags = (header->Flags & ~static_cast<std::uint32_t>(HeaderQueued)) | HeaderDone;
    return header;
}

void PulseAudioDevice::HandOverFull() {
    while (head_ != filling_) Post(MM_WIM_DATA, PopHead());
    fullBytes_ = 0;
}

void PulseAudioDevice::Post(std::int32_t message, WaveHeader* header) {
    PostWaveInMessage(target_, WaveInMessage{message, handle_, header});
}

bool PulseAudioDevice::Start() {
    if (lost_) return false;
    if (stream_ != nullptr) return true;
    if (!connection_.Connect()) return false;
    stream_ = pa_stream_new(connection_.Context(), "Vireon", &sampleFormat_, nullptr);
    if (stream_ == nullptr) return false;
    connection_.StreamStarted();
    pa_stream_set_state_callback(stream_, &PulseAudioDevice::OnState, this);
    pa_stream_set_read_callback(stream_, &PulseAudioDevice::OnReadable, this);

    // The server sends one fragment at a time and the timer takes in whatever came since its
    // last tick. A fragment of one hand-over (a capture buffer, but at least a waterfall
    // column's worth) sends audio as often as the window has something new to draw, no more.
    std::int32_t chunk = chunkBytes_;
    if (chunk <= 0) chunk = head_ != nullptr ? head_->BufferLength : MinChunkBytes;
    pa_buffer_attr attributes;
    std::memset(&attributes, 0xff, sizeof attributes);  // -1: the server's choice
    handOverBytes_ = std::clamp(chunk, MinChunkBytes, MaxChunkBytes);
    attributes.fragsize = static_cast<std::uint32_t>(handOverBytes_);
    if (pa_stream_connect_record(stream_, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
        StopStream();
        return false;
    }
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        if (state == PA_STREAM_READY) break;
        if (!PA_STREAM_IS_GOOD(state)) {
            StopStream();
            return false;
        }
        if (!connection_.Wait()) {
            StopStream();
            connection_.DropUnanswered();
            return false;
        }
    }
    running_ = true;
    connection_.Heard();  // the time to the first audio counts from here
    return true;
}

void PulseAudioDevice::StopStream() {
    running_ = false;
    if (stream_ == nullptr) return;
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_read_callback(stream_, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    connection_.StreamStopped();
}

void PulseAudioDevice::Reset() {
    StopStream();
    while (head_ != nullptr) Post(MM_WIM_DATA, PopHead());
    fullBytes_ = 0;
}

void PulseAudioDevice::OnState(pa_stream* stream, void* self) {
    auto* device = static_cast<PulseAudioDevice*>(self);
    if (!device->running_ || device->lost_ || PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        return;
    // The server went away, stopped answering (the connection let go of it), or the source
    // failed: stop delivering and let the owner reset the device, which hands the queued
    // buffers back.
    device->lost_ = true;
    device->running_ = false;
    device->Post(WIM_DEVICE_LOST);
}

void PulseAudioDevice::OnReadable(pa_stream*, std::size_t, void* self) {
    // Called for each piece the server sends, and a server may send many small ones in a wake:
    // each library call costs a system call or more, so a piece is taken in with the fewest,
    // while the pieces are still arriving (the server then gets their memory back in one go).
    auto* device = static_cast<PulseAudioDevice*>(self);
    if (!device->running_) return;
    device->connection_.Heard();
    device->TakePiece();
    device->connection_.RunBeforeSleep(device);
}

bool PulseAudioDevice::TakePiece() {
    const void* data = nullptr;
    std::size_t bytes = 0;
    if (pa_stream_peek(stream_, &data, &bytes) < 0 || bytes == 0) return false;
    // No data but a length: a hole in the stream, recorded as silence of that length.
    Deliver(static_cast<const std::uint8_t*>(data), bytes);
    pa_stream_drop(stream_);
    return true;
}

void PulseAudioDevice::BeforeSleep() {
    while (running_ && TakePiece()) {
    }
    // Full buffers go back together once they hold a hand-over's worth, or when no room is left
    // to record into; posted after the last piece, so that the window wakes once for them.
    if (fullBytes_ >= handOverBytes_ || (filling_ == nullptr && head_ != nullptr)) HandOverFull();
}

void PulseAudioDevice::Deliver(const std::uint8_t* data, std::size_t bytes) {
    while (bytes > 0 && filling_ != nullptr) {
        WaveHeader* header = filling_;
        std::uint8_t* at = header->Data + header->BytesRecorded;
        const auto room = static_cast<std::size_t>(header->BufferLength - header->BytesRecorded);
        const std::size_t n = std::min(room, bytes);
        if (data != nullptr) {
            std::memcpy(at, data, n);
            data += n;
        } else {
            std::memset(at, sampleFormat_.format == PA_SAMPLE_U8 ? 0x80 : 0, n);  // silence
        }
        bytes -= n;
        header->BytesRecorded += static_cast<std::int32_t>(n);
        if (header->BytesRecorded < header->BufferLength) break;
        filling_ = header->Next;
        fullBytes_ += header->BufferLength;
    }
    // What no queued buffer takes is lost, as it would be on a sound card.
}

}  // namespace vireon
