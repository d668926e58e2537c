// The threads a backend starts with a page: only those are waited for, and
// only while they run; one waiting in a system call (its pipe, a lock) or
// gone lets the cancel through.
#include "BackendThreads.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

using twainsane::BackendThreads;
using namespace std::chrono_literals;

TEST(BackendThreadsTest, AThreadOfThePageIsWaitedForWhileItRunsButNotWhileItWaitsForALock)
{
    // Running: as a reader filling its buffer.
    std::atomic<bool> stop{false};
    BackendThreads threads;
    threads.beforeStart();
    std::thread spinning([&stop] {
        while (!stop.load())
            ;
    });
    threads.afterStart();
    EXPECT_TRUE(threads.any());
    EXPECT_FALSE(threads.settle(20ms));
    stop = true;
    spinning.join();
    EXPECT_TRUE(threads.settle(2000ms));
    EXPECT_FALSE(threads.any()); // gone, so forgotten

    // Waiting for a lock: it holds none (and an idle thread of someone
    // else's, started meanwhile, waits the same way).
    std::mutex lock;
    lock.lock();
    threads.beforeStart();
    std::thread locked([&lock] { std::lock_guard<std::mutex> hold(lock); });
    threads.afterStart();
    EXPECT_TRUE(threads.settle(2000ms));
    lock.unlock();
    locked.join();
    EXPECT_TRUE(threads.settle(2000ms));
    EXPECT_FALSE(threads.any());
}

TEST(BackendThreadsTest, AThreadWaitingOnItsPipeOrOneFromBeforeThePageIsNotWaitedFor)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    // Busy since before the page: not the page's.
    std::atomic<bool> stop{false};
    std::thread earlier([&stop] {
        while (!stop.load())
            ;
    });
    BackendThreads threads;
    threads.beforeStart();
    std::thread reader([&ends] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(ends[0], &byte, 1);
    });
    threads.afterStart();
    ASSERT_TRUE(threads.any());
    EXPECT_TRUE(threads.settle(2000ms)); // once it waits in its read
    EXPECT_TRUE(threads.any());          // still there
    ::close(ends[1]);
    reader.join();
    EXPECT_TRUE(threads.settle(2000ms));
    EXPECT_FALSE(threads.any());
    stop = true;
    earlier.join();
    ::close(ends[0]);

    // Nothing started: nothing to wait for.
    threads.beforeStart();
    threads.afterStart();
    EXPECT_FALSE(threads.any());
    EXPECT_TRUE(threads.settle(0ms));
}
