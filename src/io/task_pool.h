#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace veltrane::io {

// The threads a call uses when its caller does not say: every core the machine offers.
unsigned hardwareThreads();

// A few threads owned by one call: tasks run in the order they were submitted, on the pool's
// threads and on the caller's own while it waits. With a thread count of 1 no thread is started and
// everything runs on the caller inside wait(), as it does when the system can start no thread. The destructor drops what has not started and joins
// every thread, so nothing outlives the call; results a task writes to must be declared before the pool.
class TaskPool {
public:
    explicit TaskPool(unsigned threads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // A task may submit further tasks.
    void submit(std::function<void()> task);
    // Runs tasks on the calling thread until every submitted task has finished, then throws again the
    // first exception a task threw (running out of memory, say), if any.
    void wait();

private:
    void work();
    bool runOne(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_; // a task was queued or finished, or the pool is closing
    std::deque<std::function<void()>> queue_;
    std::size_t unfinished_ = 0;
    bool closing_ = false;
    std::exception_ptr firstException_;
    std::vector<std::thread> threads_;
};

} // namespace veltrane::io
