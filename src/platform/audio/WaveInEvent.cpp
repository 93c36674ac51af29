#include "platform/audio/WaveInEvent.h"

#include <QCoreApplication>
#include <QObject>

namespace vireon {

WaveInEvent::WaveInEvent(const WaveInMessage& message) : QEvent(eventType()), message_(message) {}

QEvent::Type WaveInEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostWaveInMessage(QObject* target, const WaveInMessage& message) {
    if (target != nullptr) QCoreApplication::postEvent(target, new WaveInEvent(message));
}

void DeliverPendingWaveIn(QObject* target) {
    if (target != nullptr) QCoreApplication::sendPostedEvents(target, WaveInEvent::eventType());
}

}  // namespace vireon
