#include "QtAudioDevice.h"

#include <QIODevice>
#include <algorithm>

#include "WaveInEvent.h"

namespace vireon {

QtAudioDevice::QtAudioDevice(AudioHandle handle, const QAudioDevice& device,
                             const QAudioFormat& format, QObject* target, qsizetype chunkBytes)
    : handle_(handle), chunkBytes_(chunkBytes), source_(device, format), target_(target) {
    connect(&source_, &QAudioSource::stateChanged, this, &QtAudioDevice::onStateChanged);
}

QtAudioDevice::~QtAudioDevice() {
    stopSource();
}

void QtAudioDevice::enqueue(WaveHeader* header) {
    header->Next = nullptr;
    if (tail_ != nullptr) {
        tail_->Next = header;
    } else {
        head_ = header;
    }
    tail_ = header;
}

WaveHeader* QtAudioDevice::popHead() {
    WaveHeader* header = head_;
    head_ = header->Next;
    if (head_ == nullptr) tail_ = nullptr;
    header->Next = nullptr;
    header->Flags = (header->Flags & ~static_cast<std::uint32_t>(HeaderQueued)) | HeaderDone;
    return header;
}

bool QtAudioDevice::start() {
    if (lost_) return false;
    if (running_) return true;
    // The server hands over one chunk at a time. Matching it to the capture buffer hands each
    // buffer back as soon as it is full, with one wake-up per buffer rather than several.
    qsizetype chunk = chunkBytes_;
    if (chunk <= 0) chunk = head_ != nullptr ? qsizetype(head_->BufferLength) : FallbackChunkBytes;
    source_.setBufferSize(std::clamp<qsizetype>(chunk, MinChunkBytes, MaxChunkBytes));
    io_ = source_.start();
    if (io_.isNull() || source_.error() != QAudio::NoError) {
        stopSource();
        return false;
    }
    running_ = true;
    connect(io_.data(), &QIODevice::readyRead, this, &QtAudioDevice::pump);
    return true;
}

void QtAudioDevice::stopSource() {
    running_ = false;  // first, so the state change that stop() reports is not taken for a loss
    if (!io_.isNull()) disconnect(io_.data(), nullptr, this, nullptr);
    io_.clear();
    if (source_.state() != QAudio::StoppedState) source_.stop();
}

void QtAudioDevice::reset() {
    stopSource();
    while (head_ != nullptr) post(MM_WIM_DATA, popHead());
}

void QtAudioDevice::post(std::int32_t message, WaveHeader* header) {
    PostWaveInMessage(target_.data(), WaveInMessage{message, handle_, header});
}

void QtAudioDevice::pump() {
    while (running_ && !io_.isNull()) {
        if (head_ == nullptr) {
            // No buffer queued: these samples are lost, as they would be on a sound card.
            if (io_->read(discard_.data(), static_cast<qint64>(discard_.size())) <= 0) return;
            continue;
        }
        WaveHeader* header = head_;
        auto* at = reinterpret_cast<char*>(header->Data) + header->BytesRecorded;
        const qint64 got = io_->read(at, header->BufferLength - header->BytesRecorded);
        if (got <= 0) return;
        header->BytesRecorded += static_cast<std::int32_t>(got);
        if (header->BytesRecorded >= header->BufferLength) post(MM_WIM_DATA, popHead());
    }
}

void QtAudioDevice::onStateChanged(QAudio::State state) {
    if (!running_ || lost_) return;
    if (state == QAudio::StoppedState && source_.error() != QAudio::NoError) {
        // The server went away or the device failed: stop delivering and let the owner reset
        // the device, which hands the queued buffers back.
        lost_ = true;
        stopSource();
        post(WIM_DEVICE_LOST);
    }
}

}  // namespace vireon
