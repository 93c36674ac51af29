#pragma once
// Turns SIGTERM and SIGINT into a Qt signal on the event loop, so that the program can end the
// way the Exit command does. The handler only writes one byte to a pipe (async-signal-safe).
#include <QObject>

class QSocketNotifier;

namespace vireon {

class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; only one instance may exist at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Restores the previous handlers.
    ~TerminationSignals() override;

    // Readable while a signal waits to be handled by the event loop: what a blocking wait
    // elsewhere watches so as not to hold the end up.
    int PendingFd() const { return fds_[1]; }

signals:
    void Received(int signalNumber);

private:
    void ReadPending();

    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vireon
