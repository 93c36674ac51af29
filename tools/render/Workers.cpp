#include "tools/render/Workers.h"

#include <algorithm>

namespace vireon::render {

Workers::Workers(int32_t threads) {
    if (threads <= 0)
        threads = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    for (int32_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

Workers::~Workers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    for (std::thread& t : threads_) t.join();
}

std::future<void> Workers::Run(std::function<void()> task) {
    return Queue(std::move(task), false);
}

std::future<void> Workers::RunFirst(std::function<void()> task) {
    return Queue(std::move(task), true);
}

std::future<void> Workers::Queue(std::function<void()> task, bool first) {
    std::packaged_task<void()> packaged(std::move(task));
    std::future<void> done = packaged.get_future();
    {
        std::lock_guard lock(mutex_);
        if (first)
            tasks_.push_front(std::move(packaged));
        else
            tasks_.push_back(std::move(packaged));
    }
    queued_.notify_one();
    return done;
}

void Workers::Work() {
    for (;;) {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(mutex_);
            queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();  // an exception is kept in the task's future
    }
}

}  // namespace vireon::render
