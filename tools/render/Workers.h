#pragma once
// The tool's one way of using every core: tasks handed to Workers run on a fixed set of
// threads, one per core, in the order queued (RunFirst puts a task ahead of those waiting);
// each task's future gives its end (or its error).
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace vireon::render {

class Workers {
public:
    // threads 0: one per core.
    explicit Workers(int32_t threads = 0);
    // Runs what is still queued, then stops.
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    std::future<void> Run(std::function<void()> task);
    // The same, ahead of every task still queued: for a caller that waits for it.
    std::future<void> RunFirst(std::function<void()> task);
    int32_t Count() const { return static_cast<int32_t>(threads_.size()); }

private:
    std::future<void> Queue(std::function<void()> task, bool first);
    void Work();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::packaged_task<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace vireon::render
