#include "platform/linux/audio/WaveInEvent.h"

#include <QCoreApplication>
#include <QObject>

namespace vireon {

WaveInEvent::WaveInEvent(const WaveInMessage& message) : QEvent(eventType()), message_(message) {}

QEvent::Type WaveInEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostWaveInMessage(NotificationTarget target, const WaveInMessage& message) {
    // The target is the QObject the window passed as itself.
    if (target != nullptr)
        QCoreApplication::postEvent(static_cast<QObject*>(target), new WaveInEvent(message));
}

void DeliverPendingWaveIn(NotificationTarget target) {
    if (target != nullptr)
        QCoreApplication::sendPostedEvents(static_cast<QObject*>(target), WaveInEvent::eventType());
}

}  // namespace vireon
