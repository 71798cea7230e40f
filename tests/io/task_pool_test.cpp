#include "io/task_pool.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace veltrane::io {
namespace {

TEST(TaskPool, EveryTaskRunsBeforeWaitReturnsIncludingTasksThatTasksSubmit) {
    for (const unsigned threads : {1u, 2u, 6u}) {
        std::atomic<int> ran = 0;
        TaskPool pool(threads);
        for (int i = 0; i < 50; ++i)
            pool.submit([&] {
                ++ran;
                pool.submit([&] { ++ran; });
            });
        pool.wait();
        EXPECT_EQ(ran, 100) << threads << " threads";
    }
}

// Each of three tasks waits until all three have started: they meet only if the pool's two threads and
// the caller run them at the same time.
TEST(TaskPool, ItsThreadsAndTheWaitingCallerRunTasksSideBySide) {
    std::atomic<int> started = 0;
    std::atomic<int> met = 0;
    TaskPool pool(3);
    for (int i = 0; i < 3; ++i)
        pool.submit([&] {
            ++started;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (started < 3 && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
            met += started == 3 ? 1 : 0;
        });
    pool.wait();
    EXPECT_EQ(met, 3);
}

TEST(TaskPool, ATaskThatThrowsLetsTheOthersFinishAndWaitThrowsIt) {
    std::atomic<int> ran = 0;
    TaskPool pool(3);
    pool.submit([] { throw std::runtime_error("out of memory"); });
    for (int i = 0; i < 10; ++i)
        pool.submit([&] { ++ran; });
    EXPECT_THROW(pool.wait(), std::runtime_error);
    EXPECT_EQ(ran, 10);

    // One thread runs the tasks in turn: of two that throw, wait throws what the first threw.
    TaskPool serial(1);
    serial.submit([] { throw std::runtime_error("first"); });
    serial.submit([] { throw std::runtime_error("second"); });
    try {
        serial.wait();
        ADD_FAILURE() << "wait did not throw";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
}

} // namespace
} // namespace veltrane::io
