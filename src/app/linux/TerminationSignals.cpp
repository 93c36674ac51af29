#include "app/linux/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace vireon {
namespace {

volatile sig_atomic_t writeFd = -1;
struct sigaction previousTerm, previousInt;

extern "C" void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const int fd = writeFd;
    // Non-blocking: if the pipe is full, bytes are already waiting and those are enough.
    if (fd >= 0) {
        ssize_t written = ::write(fd, &byte, 1);
        (void)written;
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (writeFd >= 0) throw std::logic_error("termination signals are already handled");
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds_) != 0)
        throw std::runtime_error("Cannot create the signal pipe");
    writeFd = fds_[0];

    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPending);

    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &previousTerm);
    sigaction(SIGINT, &action, &previousInt);
}

TerminationSignals::~TerminationSignals() {
    sigaction(SIGTERM, &previousTerm, nullptr);
    sigaction(SIGINT, &previousInt, nullptr);
    writeFd = -1;
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void TerminationSignals::ReadPending() {
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(fds_[1], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) emit Received(bytes[i]);
    }
}

}  // namespace vireon
