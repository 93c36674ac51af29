#pragma once
// Shared by the tests that record from the virtual microphone: the running microphone (started
// once per test program, see RealTestMain.cpp) and ways to let the event loop run.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include "tests/capture/VirtualMic.h"

namespace vireon::testing {

extern VirtualMic* Mic;

// Runs the event loop until done() holds or the time is up; returns done().
template <class Done>
bool WaitFor(Done done, double seconds) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done() || clock.elapsed() > static_cast<qint64>(seconds * 1000)) loop.quit();
    });
    poll.start();
    if (!done()) loop.exec();
    return done();
}

inline void RunFor(double seconds) {
    WaitFor([] { return false; }, seconds);
}

}  // namespace vireon::testing
