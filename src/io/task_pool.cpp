#include "io/task_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace veltrane::io {

unsigned hardwareThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

TaskPool::TaskPool(unsigned threads) {
    // The caller works too while it waits, so it counts as one of the threads, and a thread the system
    // cannot start (out of memory for its stack, say) leaves its share to those there are.
    try {
        for (unsigned i = 1; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
    }
}

TaskPool::~TaskPool() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void TaskPool::submit(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
        ++unfinished_;
    }
    changed_.notify_all();
}

bool TaskPool::runOne(std::unique_lock<std::mutex>& lock) {
    if (queue_.empty())
        return false;
    auto task = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    std::exception_ptr exception;
    try {
        task();
    } catch (...) {
        exception = std::current_exception();
    }
    lock.lock();
    if (exception && !firstException_)
        firstException_ = exception;
    if (--unfinished_ == 0)
        changed_.notify_all();
    return true;
}

void TaskPool::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (closing_)
            return;
        runOne(lock);
    }
}

void TaskPool::wait() {
    std::unique_lock lock(mutex_);
    while (unfinished_ > 0) {
        if (!runOne(lock))
            changed_.wait(lock, [this] { return unfinished_ == 0 || !queue_.empty(); });
    }
    if (firstException_)
        std::rethrow_exception(std::exchange(firstException_, nullptr));
}

} // namespace veltrane::io
