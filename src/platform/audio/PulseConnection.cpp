#include "platform/audio/PulseConnection.h"

#include <pthread.h>
#include <pulse/introspect.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/audio/WaveInEvent.h"

namespace vireon {

PulseConnection::~PulseConnection() {
    if (loop_ == nullptr) return;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        pa_mainloop_wakeup(loop_);
    }
    thread_.join();
    // The thread is gone: no callback can run while the context goes.
    DropContext();
    pa_mainloop_free(loop_);
}

PulseConnection::Lock::Lock(PulseConnection& connection) : connection_(connection) {
    connection_.mutex_.lock();
    try {
        connection_.StartThread();
    } catch (...) {
        connection_.mutex_.unlock();
        throw;
    }
}

PulseConnection::Lock::~Lock() {
    connection_.mutex_.unlock();
}

void PulseConnection::StartThread() {
    if (loop_ != nullptr) return;
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) throw std::bad_alloc();
    pa_mainloop_set_poll_func(loop, &PulseConnection::Poll, this);
    loop_ = loop;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        loop_ = nullptr;
        pa_mainloop_free(loop);
        throw;
    }
}

void PulseConnection::Run() {
    pthread_setname_np(pthread_self(), "vireon-audio");
    std::lock_guard lock(mutex_);
    while (!quit_) {
        if (pa_mainloop_iterate(loop_, 1, nullptr) < 0) break;
    }
    RunIdlers();
    std::lock_guard posting(postingMutex_);
    posting_.swap(outbox_);
    PostAll(posting_);
}

void PulseConnection::Post(QObject* target, const WaveInMessage& message) {
    if (std::this_thread::get_id() == thread_.get_id()) {
        outbox_.emplace_back(target, message);
        return;
    }
    std::lock_guard posting(postingMutex_);
    PostWaveInMessage(target, message);
}

void PulseConnection::PostAll(std::vector<std::pair<QObject*, WaveInMessage>>& messages) {
    for (const auto& [target, message] : messages) PostWaveInMessage(target, message);
    messages.clear();
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

// libpulse's poll step: the only time the loop thread lets go of the lock.
int PulseConnection::Poll(pollfd* fds, unsigned long count, int timeout, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    connection->RunIdlers();
    connection->postingMutex_.lock();
    connection->posting_.swap(connection->outbox_);
    connection->mutex_.unlock();
    PostAll(connection->posting_);
    connection->postingMutex_.unlock();
    // Work already due (timeout 0) and answers someone waits for are not held back; anything
    // else waits for the next wake.
    if (timeout != 0 && connection->waiters_.load() == 0)
        std::this_thread::sleep_until(connection->nextWake_);
    const int ready = ::poll(fds, count, timeout);
    connection->nextWake_ = std::chrono::steady_clock::now() + WakeInterval;
    connection->mutex_.lock();
    return ready;
}

void PulseConnection::Wait() {
    ++waiters_;
    pa_mainloop_wakeup(loop_);  // out of a paced sleep's next poll at once
    signalled_.wait(mutex_);
    --waiters_;
}

void PulseConnection::Signal() {
    signalled_.notify_all();
}

void PulseConnection::Finish(pa_operation* operation) {
    if (operation == nullptr) return;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) Wait();
    pa_operation_unref(operation);
}

void PulseConnection::DropContext() {
    if (context_ == nullptr) return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

bool PulseConnection::Connect() {
    if (context_ != nullptr && pa_context_get_state(context_) == PA_CONTEXT_READY) return true;
    // A context that failed stays failed: the server may be back, so start a new one. Streams
    // of the old one keep their own reference to it until they are torn down.
    DropContext();
    context_ = pa_context_new(pa_mainloop_get_api(loop_), "Vireon");
    if (context_ == nullptr) return false;
    pa_context_set_state_callback(
        context_, [](pa_context*, void* self) { static_cast<PulseConnection*>(self)->Signal(); },
        this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
        DropContext();
        return false;
    }
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY) return true;
        if (!PA_CONTEXT_IS_GOOD(state)) break;
        Wait();
    }
    DropContext();
    return false;
}

std::int32_t PulseConnection::CountSources() {
    if (!Connect()) return 0;
    struct Count {
        PulseConnection* self;
        std::int32_t sources;
    } count{this, 0};
    pa_operation* operation = pa_context_get_source_info_list(
        context_,
        [](pa_context*, const pa_source_info* info, int eol, void* data) {
            auto* c = static_cast<Count*>(data);
            if (eol == 0 && info != nullptr && info->monitor_of_sink == PA_INVALID_INDEX)
                ++c->sources;
            if (eol != 0) c->self->Signal();
        },
        &count);
    Finish(operation);
    return count.sources;
}

bool PulseConnection::HasDefaultSource() {
    if (!Connect()) return false;
    struct Answer {
        PulseConnection* self;
        bool named;
    } answer{this, false};
    pa_operation* operation = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* info, void* data) {
            auto* a = static_cast<Answer*>(data);
            a->named = info != nullptr && info->default_source_name != nullptr &&
                       std::strlen(info->default_source_name) > 0;
            a->self->Signal();
        },
        &answer);
    Finish(operation);
    return answer.named;
}

}  // namespace vireon
