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

private:
    void StartThread();
    void Run();
    static int Poll(pollfd* fds, unsigned long count, int timeout, void* self);
    void DropContext();

    std::recursive_mutex mutex_;
    std::condition_variable_any signalled_;
    std::thread thread_;
    bool quit_ = false;
    std::atomic<int> waiters_{0};
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::chrono::steady_clock::time_point nextWake_{};
};

}  // namespace vireon
