// SIGTERM and SIGINT arrive as a signal on the event loop, and only while the object lives.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <vector>

#include "app/linux/TerminationSignals.h"

namespace vireon {
namespace {

std::vector<int> DeliverFor(TerminationSignals& termination, int milliseconds) {
    std::vector<int> received;
    QObject::connect(&termination, &TerminationSignals::Received,
                     [&received](int number) { received.push_back(number); });
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return received;
}

TEST(TerminationSignalsTest, EachSignalReachesTheEventLoopInOrder) {
    TerminationSignals termination;
    ASSERT_EQ(std::raise(SIGTERM), 0);  // the process survives: the handler took it
    ASSERT_EQ(std::raise(SIGINT), 0);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_EQ(DeliverFor(termination, 200), (std::vector<int>{SIGTERM, SIGINT, SIGTERM}));
}

TEST(TerminationSignalsTest, NothingArrivesWithoutASignal) {
    TerminationSignals termination;
    EXPECT_TRUE(DeliverFor(termination, 50).empty());
}

TEST(TerminationSignalsTest, PreviousHandlersComeBackAndOnlyOneInstanceMayExist) {
    struct sigaction before = {};
    sigaction(SIGTERM, nullptr, &before);
    {
        TerminationSignals termination;
        EXPECT_THROW(TerminationSignals second, std::logic_error);
        struct sigaction during = {};
        sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
    }
    struct sigaction after = {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    // And a new one can be made once the first is gone.
    TerminationSignals again;
    ASSERT_EQ(std::raise(SIGINT), 0);
    EXPECT_EQ(DeliverFor(again, 100), std::vector<int>{SIGINT});
}

}  // namespace
}  // namespace vireon
