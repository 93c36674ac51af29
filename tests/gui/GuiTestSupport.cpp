#include "tests/gui/GuiTestSupport.h"

#include <QCoreApplication>

#include "platform/linux/audio/WaveInEvent.h"

namespace vireon::testing {

WindowHarness::WindowHarness(Coefficients coefficients) : WindowServices(coefficients) {
    // The fake device posts its notifications to the window like the real one.
    audio.poster = [](NotificationTarget target, const WaveInMessage& message) {
        PostWaveInMessage(target, message);
    };
}

WindowHarness::~WindowHarness() {
    Close();
}

QtMainWindow& WindowHarness::Open() {
    window = std::make_unique<QtMainWindow>();
    form = std::make_unique<TFormMain>(*state, Services(), *window, folder.Path());
    return *window;
}

void WindowHarness::Close() {
    form.reset();
    window.reset();
}

void WindowHarness::Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

}  // namespace vireon::testing
