#include "platform/linux/audio/PulseConnection.h"

#include <pulse/introspect.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace vireon {
namespace {

// Rounds of the loop one wake may take: a server flooding us cannot hold the window up.
constexpr int MaxRoundsPerWake = 64;

}  // namespace

PulseConnection::PulseConnection() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(WakeInterval);
    timer_.callOnTimeout([this] { TakeInAll(); });
    endOfWaits_.setSingleShot(true);
    endOfWaits_.setInterval(0);
    endOfWaits_.callOnTimeout([this] { giveUpAt_.reset(); });
}

PulseConnection::~PulseConnection() {
    timer_.stop();
    DropContext();
    if (loop_ != nullptr) pa_mainloop_free(loop_);
}

pa_mainloop* PulseConnection::Loop() {
    if (loop_ == nullptr) {
        loop_ = pa_mainloop_new();
        if (loop_ == nullptr) throw std::bad_alloc();
        pa_mainloop_set_poll_func(loop_, &PulseConnection::Poll, this);
    }
    return loop_;
}

void PulseConnection::StreamStarted() {
    lastHeard_ = Clock::now();  // a new stream has the whole bound to bring its first audio
    heard_ = false;
    if (streams_++ == 0) timer_.start();
}

void PulseConnection::StreamStopped() {
    if (--streams_ > 0) return;
    timer_.stop();
    // libpulse sends requests from its loop: the stream's end must still reach the server.
    RunReady();
}

void PulseConnection::RunReady() {
    // Without waiting: each round handles what is ready and runs what that made due.
    for (int round = 0; round < MaxRoundsPerWake; ++round) {
        if (pa_mainloop_iterate(Loop(), 0, nullptr) <= 0) break;
    }
}

void PulseConnection::TakeInAll() {
    RunReady();
    RunIdlers();
    CheckStall();
}

void PulseConnection::CheckStall() {
    const Clock::time_point now = Clock::now();
    if (heard_ || context_ == nullptr) {
        lastHeard_ = now;
        heard_ = false;
        return;
    }
    if (now - lastHeard_ < StallBound) return;
    // Stopped or stuck, the server keeps its socket open and nothing says so: let go of it as
    // if it had gone away. Its streams fail now (their owners hear of it as a lost device),
    // and the next command connects afresh instead of waiting on it.
    lastHeard_ = now;
    DropUnanswered();
}

void PulseConnection::RunBeforeSleep(Idler* idler) {
    if (std::find(idlers_.begin(), idlers_.end(), idler) == idlers_.end()) idlers_.push_back(idler);
}

void PulseConnection::CancelBeforeSleep(Idler* idler) {
    idlers_.erase(std::remove(idlers_.begin(), idlers_.end(), idler), idlers_.end());
}

void PulseConnection::RunIdlers() {
    // An idler may schedule itself or others again: those run in the next round.
    std::vector<Idler*> due;
    due.swap(idlers_);
    for (Idler* idler : due) idler->BeforeSleep();
}

int PulseConnection::Poll(pollfd* fds, unsigned long count, int timeout, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    if (!connection->waiting_ || connection->interruptFd_ < 0) return ::poll(fds, count, timeout);
    std::vector<pollfd>& all = connection->pollFds_;
    all.assign(fds, fds + count);
    all.push_back({connection->interruptFd_, POLLIN, 0});
    int ready = ::poll(all.data(), all.size(), timeout);
    if (ready <= 0) return ready;
    for (unsigned long i = 0; i < count; ++i) fds[i].revents = all[i].revents;
    if (all.back().revents != 0) {
        connection->interrupted_ = true;
        --ready;
    }
    return ready;
}

bool PulseConnection::Wait() {
    const Clock::time_point now = Clock::now();
    if (!giveUpAt_) {
        giveUpAt_ = now + AnswerDeadline;
        endOfWaits_.start();
    }
    if (now >= *giveUpAt_) return false;
    const auto left = std::chrono::ceil<std::chrono::microseconds>(*giveUpAt_ - now);
    pa_mainloop* loop = Loop();
    waiting_ = true;
    interrupted_ = false;
    const bool ran = pa_mainloop_prepare(loop, static_cast<int>(left.count())) >= 0 &&
                     pa_mainloop_poll(loop) >= 0 && pa_mainloop_dispatch(loop) >= 0;
    waiting_ = false;
    // Asked to end: this wait and the rest of the command's give up at once.
    if (interrupted_) giveUpAt_ = now;
    return ran && !interrupted_;
}

bool PulseConnection::Finish(pa_operation* operation) {
    if (operation == nullptr) return false;
    bool answered = true;
    while (answered && pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        if (Wait()) continue;
        pa_operation_cancel(operation);  // its callback must not run later on a dead frame
        answered = false;
    }
    pa_operation_unref(operation);
    if (!answered) DropUnanswered();
    return answered;
}

void PulseConnection::DropContext() {
    if (context_ == nullptr) return;
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

bool PulseConnection::Connect() {
    if (context_ != nullptr) {
        // Between recordings nothing runs the loop: a server that went away is only seen here.
        RunReady();
        if (pa_context_get_state(context_) == PA_CONTEXT_READY) return true;
    }
    // A context that failed stays failed: the server may be back, so start a new one. Streams
    // of the old one keep their own reference to it until they are torn down.
    DropContext();
    context_ = pa_context_new(pa_mainloop_get_api(Loop()), "Vireon");
    if (context_ == nullptr) return false;
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
        DropContext();
        return false;
    }
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY) return true;
        if (!PA_CONTEXT_IS_GOOD(state) || !Wait()) break;
    }
    DropContext();
    return false;
}

std::int32_t PulseConnection::CountSources() {
    if (!Connect()) return 0;
    std::int32_t sources = 0;
    pa_operation* operation = pa_context_get_source_info_list(
        context_,
        [](pa_context*, const pa_source_info* info, int eol, void* data) {
            if (eol == 0 && info != nullptr && info->monitor_of_sink == PA_INVALID_INDEX)
                ++*static_cast<std::int32_t*>(data);
        },
        &sources);
    return Finish(operation) ? sources : 0;
}

bool PulseConnection::HasDefaultSource() {
    if (!Connect()) return false;
    bool named = false;
    pa_operation* operation = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* info, void* data) {
            *static_cast<bool*>(data) = info != nullptr && info->default_source_name != nullptr &&
                                        std::strlen(info->default_source_name) > 0;
        },
        &named);
    return Finish(operation) && named;
}

}  // namespace vireon
