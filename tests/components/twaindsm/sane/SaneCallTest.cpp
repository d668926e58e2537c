// SANE's long calls run off the application's thread: its event loop keeps
// turning meanwhile, and the calls never overlap. The "device" here is
// scripted: its call lasts until the application's timer has fired.
#include "SaneCall.h"

#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

/// A call that waits until it is let go (or gives up after a long while, so
/// a broken loop fails the test instead of hanging it).
class ScriptedCall
{
public:
    bool run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_released.wait_for(lock, std::chrono::seconds(20), [this] { return m_free; });
    }
    void release()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_free = true;
        }
        m_released.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_free = false;
};

} // namespace

TEST(SaneCallTest, TheEventLoopTurnsWhileACallRunsAndCallsNeverOverlap)
{
    ScriptedCall first;
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    auto enter = [&] {
        mostInside = std::max(mostInside.load(), ++inside);
    };
    bool secondDone = false;
    bool busySeen = false;
    // The application's timer fires during the first call, lets it go and
    // makes a second call of its own, which waits for the first.
    QTimer::singleShot(0, [&] {
        busySeen = twainsane::CallRunning();
        first.release();
        twainsane::RunOffThread([&] {
            enter();
            --inside;
        });
        secondDone = true;
    });
    const bool released = twainsane::OffThread([&] {
        enter();
        const bool r = first.run();
        --inside;
        return r;
    });
    EXPECT_TRUE(released); // only the timer lets the call go
    EXPECT_TRUE(busySeen);
    EXPECT_TRUE(secondDone);
    EXPECT_EQ(mostInside.load(), 1);
    EXPECT_FALSE(twainsane::CallRunning());
}
