#pragma once
// The program's connection to the sound server: one libpulse main loop and one context, used
// from the thread that uses the recording service, which runs a Qt event loop.
//
// While a stream records, a timer on that thread takes in whatever the server has sent every
// WakeInterval. A server that sends audio in small pieces (every few milliseconds) then has them
// handled a few at a time, and the window is not woken by another thread of ours: the one wake
// per interval both takes the audio in and draws what it brings. It adds at most that interval
// to the time audio takes to arrive. Calls that wait for the server (connecting, starting a
// stream, listing sources) run the loop themselves until the answer is in, or until the
// deadline: a server that stops answering (stopped, or stuck) keeps its socket open, so without
// one they would wait for ever with the window frozen. For the same reason the timer also
// notices a recording that the server has stopped feeding (StallBound).
#include <poll.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <QTimer>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/audio/AudioInput.h"

namespace vireon {

class PulseConnection {
public:
    PulseConnection();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    static constexpr std::chrono::milliseconds WakeInterval{32};

    // How long the waits of one command (a start lists the sources, asks for the default one and
    // starts a stream) may take together before the server counts as not answering. A server
    // on the same machine answers each within milliseconds, a freshly started one too (under
    // 20 ms on a busy two-core machine), so two seconds leave ample room for a loaded or slowly
    // swapping machine while the window, which neither draws nor takes clicks meanwhile, is back
    // before a user gives up on it. The deadline starts with the first wait and holds for every
    // wait until the event loop runs again, so a command never waits longer in all.
    static constexpr std::chrono::milliseconds AnswerDeadline{2000};

    // How long recording streams may get nothing at all before the server counts as stuck: the
    // connection is then dropped, which ends its streams as the server's going away does. Timed
    // on the monotonic clock, which stands still while the machine sleeps.
    static constexpr std::chrono::milliseconds StallBound = DeviceStallBound;

    // Connects when there is no usable connection, also again after the server went away.
    // False when no server answers, or not within the deadline.
    bool Connect();
    // Recording sources, monitors of outputs not counted; 0 without a server.
    std::int32_t CountSources();
    // Whether the server names a default recording source.
    bool HasDefaultSource();

    // Runs the loop until something happens (a state change, an answer, data). False, at once,
    // when the deadline has passed or the program is asked to end: give up waiting.
    bool Wait();
    // Waits for an operation to finish (or to be cancelled with the connection) and drops it.
    // False when it got no answer in time; the connection is then dropped.
    bool Finish(pa_operation* operation);
    // The server did not answer in time: the next call connects afresh rather than waiting on
    // this connection again. Streams keep their own reference to it until they are torn down.
    void DropUnanswered() { DropContext(); }
    // Waits also end as soon as fd is readable: a request to end the program arrives there and
    // must not wait for the deadline. -1: none.
    void StopWaitingWhenReadable(int fd) { interruptFd_ = fd; }

    pa_context* Context() const { return context_; }

    // A stream records from now on / no longer: the timer runs while any does.
    void StreamStarted();
    void StreamStopped();
    // A stream got something from the server (it is ready, or brought audio): it still answers.
    void Heard() { heard_ = true; }

    // Work for the end of a timer's round, once what the server sent is all in: what several
    // callbacks brought is then taken and handed on at once.
    class Idler {
    public:
        virtual void BeforeSleep() = 0;

    protected:
        ~Idler() = default;
    };
    // Runs idler once at the end of this round (several calls run it once).
    void RunBeforeSleep(Idler* idler);
    // Drops idler from the work still to run.
    void CancelBeforeSleep(Idler* idler);

private:
    pa_mainloop* Loop();
    // Runs the loop for what is ready now, sending what is waiting to go.
    void RunReady();
    void TakeInAll();
    // Drops the connection once its streams have heard nothing for StallBound.
    void CheckStall();
    void DropContext();
    void RunIdlers();
    static int Poll(pollfd* fds, unsigned long count, int timeout, void* self);

    using Clock = std::chrono::steady_clock;

    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    QTimer timer_;
    std::int32_t streams_ = 0;
    Clock::time_point lastHeard_;  // as of the timer's last round
    bool heard_ = false;           // since then
    std::vector<Idler*> idlers_;
    std::optional<Clock::time_point> giveUpAt_;  // of the waits since the event loop last ran
    QTimer endOfWaits_;                          // fires when the event loop runs again
    int interruptFd_ = -1;
    bool waiting_ = false;
    bool interrupted_ = false;
    std::vector<pollfd> pollFds_;  // the loop's own and interruptFd_, kept between waits
};

}  // namespace vireon
