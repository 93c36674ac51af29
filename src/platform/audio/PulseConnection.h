#pragma once
// The program's connection to the sound server: one libpulse main loop and one context, used
// from the thread that uses the recording service, which runs a Qt event loop.
//
// While a stream records, a timer on that thread takes in whatever the server has sent every
// WakeInterval. A server that sends audio in small pieces (every few milliseconds) then has them
// handled a few at a time, and the window is not woken by another thread of ours: the one wake
// per interval both takes the audio in and draws what it brings. It adds at most that interval
// to the time audio takes to arrive. Calls that wait for the server (connecting, starting a
// stream, listing sources) run the loop themselves until the answer is in.
#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <QTimer>
#include <chrono>
#include <cstdint>
#include <vector>

namespace vireon {

class PulseConnection {
public:
    PulseConnection();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    static constexpr std::chrono::milliseconds WakeInterval{32};

    // Connects when there is no usable connection, also again after the server went away.
    // False when no server answers.
    bool Connect();
    // Recording sources, monitors of outputs not counted; 0 without a server.
    std::int32_t CountSources();
    // Whether the server names a default recording source.
    bool HasDefaultSource();

    // Runs the loop until something happens (a state change, an answer, data).
    void Wait();
    // Waits for an operation to finish (or to be cancelled with the connection) and drops it.
    void Finish(pa_operation* operation);

    pa_context* Context() const { return context_; }

    // A stream records from now on / no longer: the timer runs while any does.
    void StreamStarted();
    void StreamStopped();

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
    void DropContext();
    void RunIdlers();

    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    QTimer timer_;
    std::int32_t streams_ = 0;
    std::vector<Idler*> idlers_;
};

}  // namespace vireon
