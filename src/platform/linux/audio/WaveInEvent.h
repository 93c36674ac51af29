#pragma once
// A device notification posted to the window that opened the device, handled by its event loop
// in the order posted.
#include <QEvent>

#include "platform/audio/AudioInput.h"

namespace vireon {

class WaveInEvent final : public QEvent {
public:
    explicit WaveInEvent(const WaveInMessage& message);

    // The event type, registered once with Qt.
    static QEvent::Type eventType();

    const WaveInMessage& message() const { return message_; }

private:
    WaveInMessage message_;
};

// Posts one notification to target (nothing when target is null).
void PostWaveInMessage(NotificationTarget target, const WaveInMessage& message);

// Delivers at once every notification still posted to target, in order. For the end of the
// program, when the event loop no longer runs but a stop's buffers are still on their way back.
void DeliverPendingWaveIn(NotificationTarget target);

}  // namespace vireon
