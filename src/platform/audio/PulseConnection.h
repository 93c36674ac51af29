#pragma once
// The program's connection to the sound server: a libpulse main loop on a thread of its own and
// one context. libpulse calls back on that thread with the connection's lock held; everything
// else that touches the server, the streams or data those callbacks share takes the same lock.
//
// The thread wakes at most once every WakeInterval: a server that sends audio in small pieces
// (every few milliseconds) has them handled a few at a time, which costs far less than waking
// for each. It adds at most that interval to the time audio takes to arrive.
#include <poll.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/audio/AudioInput.h"

class QObject;

namespace vireon {

class PulseConnection {
public:
    PulseConnection() = default;
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    static constexpr std::chrono::milliseconds WakeInterval{32};

    // Holds the connection's lock for a scope (starting the thread on first use). Recursive.
    class Lock {
    public:
        explicit Lock(PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        PulseConnection& connection_;
    };

    // Connects when there is no usable connection, also again after the server went away.
    // False when no server answers. Call with the lock held.
    bool Connect();
    // Recording sources, monitors of outputs not counted; 0 without a server. Lock held.
    std::int32_t CountSources();
    // Whether the server names a default recording source. Lock held.
    bool HasDefaultSource();

    // Blocks until the loop thread signals (a state change or an operation's end). Lock held
    // once, not recursively.
    void Wait();
    // Wakes Wait; for callbacks on the loop thread.
    void Signal();
    // Waits for an operation to finish (or to be cancelled with the connection) and drops it.
    void Finish(pa_operation* operation);

    pa_context* Context() const { return context_; }

    // Work for the loop thread once a round of callbacks is over, just before it lets go of the
    // lock to sleep: what several callbacks brought in is then taken and handed on at once.
    class Idler {
    public:
        virtual void BeforeSleep() = 0;

    protected:
        ~Idler() = default;
    };
    // Posts a notification to target (lock held), in order with every other posted through here.
    // From the loop thread it goes once the thread has let go of the lock: the window, woken by
    // it, then finds the lock free instead of waiting for it.
    void Post(QObject* target, const WaveInMessage& message);

    // Runs idler once at the end of this round (lock held; several calls run it once).
    void RunBeforeSleep(Idler* idler);
    // Drops idler from the work still to run (lock held).
    void CancelBeforeSleep(Idler* idler);

private:
    void StartThread();
    void Run();
    static int Poll(pollfd* fds, unsigned long count, int timeout, void* self);
    void DropContext();
    void RunIdlers();
    // Posts what the loop thread left for after unlocking (postingMutex_ held).
    static void PostAll(std::vector<std::pair<QObject*, WaveInMessage>>& messages);

    std::recursive_mutex mutex_;
    std::condition_variable_any signalled_;
    std::thread thread_;
    bool quit_ = false;
    std::atomic<int> waiters_{0};
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::chrono::steady_clock::time_point nextWake_{};
    std::vector<Idler*> idlers_;
    std::vector<std::pair<QObject*, WaveInMessage>> outbox_;   // the loop thread's, lock held
    std::vector<std::pair<QObject*, WaveInMessage>> posting_;  // under postingMutex_
    // Held while anything is posted; the loop thread takes it before it lets go of the lock, so
    // nothing posted later from another thread overtakes what it left.
    std::mutex postingMutex_;
};

}  // namespace vireon
