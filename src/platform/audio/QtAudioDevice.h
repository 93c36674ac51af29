#pragma once
// One opened recording device of QtAudioInput: a QAudioSource in push mode whose data, delivered
// on the thread that owns it, fills the queued buffers strictly in queue order.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <array>

#include "AudioInput.h"

namespace vireon {

class QtAudioDevice final : public QObject {
    Q_OBJECT
public:
    QtAudioDevice(AudioHandle handle, const QAudioDevice& device, const QAudioFormat& format,
                  QObject* target, qsizetype chunkBytes);
    ~QtAudioDevice() override;

    AudioHandle handle() const { return handle_; }
    bool hasQueued() const { return head_ != nullptr; }
    bool running() const { return running_; }

    void enqueue(WaveHeader* header);
    // False when the sound server refuses the stream.
    bool start();
    // Stops recording and hands every queued buffer back, in order, each as its own notification.
    void reset();
    void post(std::int32_t message, WaveHeader* header = nullptr);

private:
    static constexpr qsizetype FallbackChunkBytes = 128;  // 16 ms
    static constexpr qsizetype MinChunkBytes = 64;
    static constexpr qsizetype MaxChunkBytes = 8000;  // one second

    void pump();
    void onStateChanged(QAudio::State state);
    void stopSource();
    WaveHeader* popHead();

    AudioHandle handle_;
    qsizetype chunkBytes_;  // 0: the first queued buffer's length
    QAudioSource source_;
    QPointer<QObject> target_;
    QPointer<QIODevice> io_;      // Qt deletes it by itself when the stream fails
    WaveHeader* head_ = nullptr;  // queue linked through WaveHeader::Next
    WaveHeader* tail_ = nullptr;
    bool running_ = false;
    bool lost_ = false;
    std::array<char, 4096> discard_{};  // where samples go while no buffer is queued
};

}  // namespace vireon
